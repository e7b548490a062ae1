#include "line_compare.h"
#include "list_builder.h"
#include "qpl/generator.h"
#include "qpl/library.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::qpl {
namespace {
using namespace text::literals;
using testing::sameLines;

// UTF-8 text, one line per row; the row "@LIBRARY@" stands for the library's lines.
std::vector<std::string> scriptLines(std::string_view utf8) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        const std::size_t end = std::min(utf8.find('\n', start), utf8.size());
        const std::string line = text::fromUtf8(utf8.substr(start, end - start));
        if (line == "@LIBRARY@") {
            const auto library = libraryLines();
            lines.insert(lines.end(), library.begin(), library.end());
        } else {
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

GeneratorInput exampleInput(const conditions::ConditionList& list) {
    GeneratorInput input;
    input.portfelName = "My_portfel";
    input.portfelDesc = text::fromUtf8("Мой портфель");
    input.allClients = true;
    input.clientCode = "ab1";
    input.firmId = "mc01";
    input.account = "l01";
    input.fileNameMessage = "C:\\Mess\\m1.txt";
    input.compressed = false;
    input.compMess = text::fromUtf8("Биржа зовет!");
    input.conditions = &list;
    input.library = libraryLines();
    return input;
}

constexpr std::string_view kFirstExample = R"q(PORTFOLIO_EX My_portfel;
DESCRIPTION Мой портфель;
CLIENTS_LIST ALL_CLIENTS;
FIRMS_LIST ALL_FIRMS;

PROGRAM
'==================================
@LIBRARY@
'==================================
CLIENT_CODE="ab1"
FIRMID="MC01"
ACCOUNT="L01"
file_mess="C:\Mess\m1.txt"
BEGINDAY = 103000
CLOSEDAY = 184500
datetime_curr=GET_SERVER_DATETIME()
'==================================
is_prevtime11=0
num_line11=0
name_shedule11="PRICE"
sPeriod11="5"
condition1=0
'==================================
value12=100
sPeriod12=""
'==================================
'==================================
'Имя переменной NCP_T
'где:
'N - название
'C - номер условия
'P - номер части в условии
'T - время (1-текущее, 2 -предыдущее ...)
'==================================
msg_p = GET_SHEDULE_MINUS(name_shedule11,datetime_curr,sPeriod11, num_line11, "CLOSE")
datetime_11_1= GET_VALUE(msg_p,"datetime")
close_shedule_11_1= 0+GET_VALUE(msg_p,"value")
if is_prevtime11=1
   datetime_11_1=datetime_minus_period(datetime_11_1,sPeriod11)
   msg_p = GET_SHEDULE_MINUS(name_shedule11,datetime_11_1,sPeriod11, num_line11, "CLOSE")
   datetime_11_1= GET_VALUE(msg_p,"datetime")
   close_shedule_11_1= 0+GET_VALUE(msg_p,"value")
end if
mess1 = "" & GET_VALUE(msg_p,"Name") & " " & sPeriod11 & " БОЛЬШЕ "
if (close_shedule_11_1 > value12)
   condition1=1
end if
mess1= mess1 & " " & value12
'==================================

'==================================
mess=""
if  condition1=1 
  if mess= ""
      mess = mess1
  else 
      mess= mess & "; " & mess1
  end if
end if
mess= mess & " " & datetime_string(datetime_curr)
'==================================
'Условие сработало если Condition_I>0
'==================================
Condition_I =  condition1
'==================================
new_global("nLastTimeMess",0)
msg_p = GET_SHEDULE_MINUS("PRICE",datetime_curr,"5",0, "CLOSE")
datetime_mess= GET_VALUE(msg_p,"datetime")
nTimeMess=0+get_value(datetime_mess,"time")
nDateMess=0+get_value(datetime_mess,"date")
'==================================
if (nDateMess*1000000+nTimeMess!=nLastTimeMess) and (Condition_I>0)
    nLastTimeMess=nDateMess*1000000+nTimeMess
    WRITELN(file_mess, mess)
end if
'==================================
DELETE_ALL_ITEMS()
output=CREATE_MAP()
output=SET_VALUE(output,"sTime",datetime_string(datetime_curr))
ADD_ITEM(1,output)

END_PROGRAM

PARAMETER sTime;
PARAMETER_TITLE Время;
PARAMETER_DESCRIPTION Время;
PARAMETER_TYPE STRING(20);
END

END_PORTFOLIO_EX)q";

TEST(WorkedExample, OneValueConditionGivesTheWholeScriptLineForLine) {
    conditions::ConditionList list;
    testing::addCondition(list, testing::currentPart("5 МИН"), "БОЛЬШЕ"_cp, testing::ValueLevel{"100"});
    const GeneratedScript script = generateScript(exampleInput(list));
    EXPECT_TRUE(sameLines(script.lines, scriptLines(kFirstExample)));
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(script.messagePeriod, "5");
    EXPECT_EQ(script.messageChart, "PRICE");
}

// The grouped pair and a third condition, compressed: only the rows that differ from the first example.
TEST(WorkedExample, GroupedConditionsInCompressedMode) {
    conditions::ConditionList list;
    testing::addOperation(list, "(");
    testing::addCondition(list, testing::currentPart("5 МИН", "SBER"), "БОЛЬШЕ"_cp,
                          testing::ValueLevel{"100"});
    testing::addOperation(list, "И"_cp);
    testing::addCondition(list, testing::currentPart("1 ЧАС", "GAZP"), "РАЗВОРАЧИВАЕТСЯ ВВЕРХ"_cp);
    testing::addOperation(list, ") ИЛИ"_cp);
    testing::addCondition(list, testing::currentPart("ДЕНЬ", "LKOH"), "МЕНЬШЕ"_cp,
                          testing::currentPart("ДЕНЬ", "LKOH", "1"));
    GeneratorInput input = exampleInput(list);
    input.compressed = true;
    const auto lines = generateScript(input).lines;

    const auto at = [&](std::string_view utf8) {
        return std::find(lines.begin(), lines.end(), text::fromUtf8(utf8)) - lines.begin();
    };
    // Each condition's operand lines come before its own block, in list order.
    EXPECT_LT(at("sPeriod11=\"5\""), at("sPeriod21=\"60\""));
    EXPECT_LT(at("sPeriod21=\"60\""), at("sPeriod31=\"DAY\""));
    EXPECT_LT(at("sPeriod31=\"DAY\""), at("name_shedule32=\"LKOH\""));
    EXPECT_LT(at("if (close_shedule_11_1 > value12)"), at("sPeriod21=\"60\""));
    EXPECT_LT(at("if (close_shedule_31_1 < close_shedule_32_1)"), at("  mess= \"Биржа зовет!\""));

    const auto messages = static_cast<std::size_t>(at("  mess= \"Биржа зовет!\""));
    ASSERT_LT(messages, lines.size());
    std::vector<std::string> expected = {text::fromUtf8("  mess= \"Биржа зовет!\"")};
    for (const char* n : {"1", "2", "3"}) {
        const std::string N = n;
        for (const std::string& line :
             {"if  condition" + N + "=1 ", std::string("  if mess= \"\""), "      mess = mess" + N,
              std::string("  else "), "      mess= mess & \"; \" & mess" + N, std::string("  end if"),
              std::string("end if")})
            expected.push_back(line);
    }
    const std::vector<std::string> actual(lines.begin() + static_cast<long>(messages),
                                          lines.begin() + static_cast<long>(messages + expected.size()));
    EXPECT_TRUE(sameLines(actual, expected));
    EXPECT_NE(at("Condition_I = ( condition1 *  condition2) +  condition3"), static_cast<long>(lines.size()));
    EXPECT_NE(at("msg_p = GET_SHEDULE_MINUS(\"SBER\",datetime_curr,\"5\",0, \"CLOSE\")"),
              static_cast<long>(lines.size()));
    EXPECT_NE(at("if (nDateMess*1000000+nTimeMess!=nLastTimeMess) and (Condition_I>0)"),
              static_cast<long>(lines.size()));
}

} // namespace
} // namespace zorvant::qpl
