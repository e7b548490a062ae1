#include "line_compare.h"
#include "list_builder.h"
#include "qpl/generator.h"
#include "text/cp1251.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace zorvant::qpl {
namespace {
using namespace text::literals;
using testing::addCondition;
using testing::addOperation;
using testing::currentPart;
using testing::lineList;
using testing::sameLines;
using testing::slice;
using testing::ValueLevel;

GeneratedScript generate(const conditions::ConditionList& list, std::string previousChart = "") {
    GeneratorInput input;
    input.conditions = &list;
    input.library = {"FUNC lib(x)", "END FUNC"};
    input.previousMessageChart = std::move(previousChart);
    return generateScript(input);
}

constexpr std::string_view kSeparator = "'==================================";

// The position of a line, or the line count when it is missing.
std::size_t at(const std::vector<std::string>& lines, std::string_view line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

bool has(const std::vector<std::string>& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string lineStarting(const std::vector<std::string>& lines, std::string_view prefix) {
    const auto it =
        std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.starts_with(prefix); });
    return it == lines.end() ? "<none>" : *it;
}

std::string combination(const conditions::ConditionList& list) {
    return lineStarting(generate(list).lines, "Condition_I =");
}

void addValueCondition(conditions::ConditionList& list, std::string_view interval = "5 МИН") {
    addCondition(list, currentPart(interval), "БОЛЬШЕ"_cp, ValueLevel{"1"});
}

TEST(Combination, JoinersBecomeOperatorsAndBracketsStayTight) {
    struct Case {
        std::vector<std::string_view> types; // the Operation between condition k and k+1, "" for none
        std::string_view expected;
    };
    const Case cases[] = {
        {{}, "Condition_I =  condition1"},
        {{"И"_cp}, "Condition_I =  condition1 *  condition2"},
        {{"ИЛИ"_cp}, "Condition_I =  condition1 +  condition2"},
        {{") И ("_cp}, "Condition_I =  condition1) * ( condition2"},
        {{"ИЛИ  "_cp, "ИИЛИ"_cp}, "Condition_I =  condition1 +  condition2 *  +  condition3"},
    };
    for (const auto& c : cases) {
        conditions::ConditionList list;
        addValueCondition(list);
        for (const auto type : c.types) {
            addOperation(list, type);
            addValueCondition(list);
        }
        EXPECT_EQ(combination(list), c.expected);
    }
}

TEST(Combination, OperationsTakeNoNumberAndBracketsAreCounted) {
    conditions::ConditionList list;
    addOperation(list, "( "_cp);
    addValueCondition(list);
    addOperation(list, "И ("_cp);
    addValueCondition(list);
    addOperation(list, "ИЛИ"_cp);
    addValueCondition(list);
    addOperation(list, ")"_cp);
    const GeneratedScript script = generate(list);
    EXPECT_EQ(lineStarting(script.lines, "Condition_I ="),
              "Condition_I = ( condition1 * ( condition2 +  condition3)");
    EXPECT_TRUE(has(script.lines, "condition3=0"));
    EXPECT_FALSE(has(script.lines, "condition4=0"));
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0],
              "Не корректное объединение условий: количество правых скобок не равно количеству левых!"_cp);
    EXPECT_EQ(script.lines.back(), "END_PORTFOLIO_EX");
}

TEST(Generator, RefusesWhatCannotGiveAWorkingScript) {
    struct Case {
        const char* what;
        std::function<void(GeneratorInput&, conditions::ConditionList&)> change;
        std::string refusal; // empty: the script is written
    };
    const auto quoteIn = [](std::string_view where) {
        return std::string("Двойная кавычка в "_cp) + std::string(where) +
               std::string(" недопустима в скрипте QPL. Скрипт не создан!"_cp);
    };
    const std::string noCondition{"В перечне нет ни одного условия. Скрипт не создан: добавьте условие!"_cp};
    const Case table[] = {
        {"empty list", [](auto&, auto& list) { list.clear(); }, noCondition},
        {"brackets only",
         [](auto&, auto& list) {
             list.clear();
             addOperation(list, "(");
         },
         noCondition},
        {"name", [](auto& in, auto&) { in.portfelName = "My\"p"; },
         quoteIn("поле «Название (имя файла)»"_cp)},
        {"message file", [](auto& in, auto&) { in.fileNameMessage = "C:\\\"m.txt"; },
         quoteIn("поле «Файл» сообщения"_cp)},
        {"compressed text",
         [](auto& in, auto&) {
             in.compressed = true;
             in.compMess = "\"Buy\"";
         },
         quoteIn("тексте сжатого сообщения"_cp)},
        {"expanded ignores the compressed text", [](auto& in, auto&) { in.compMess = "\"Buy\""; }, ""},
        {"account", [](auto& in, auto&) { in.account = "L\"01"; }, quoteIn("поле «Счет депо»"_cp)},
        {"chart of part 2",
         [](auto&, auto& list) {
             addOperation(list, "И"_cp);
             addCondition(list, currentPart("5 МИН"), "БОЛЬШЕ"_cp, currentPart("5 МИН", "M\"A"));
         },
         quoteIn("названии графика условия 2"_cp)},
    };
    for (const Case& c : table) {
        conditions::ConditionList list;
        addValueCondition(list);
        GeneratorInput input;
        input.conditions = &list;
        c.change(input, list);
        const GeneratedScript script = generateScript(input);
        EXPECT_EQ(script.refused, !c.refusal.empty()) << c.what;
        if (c.refusal.empty())
            continue;
        EXPECT_TRUE(script.lines.empty()) << c.what;
        EXPECT_EQ(script.messages, std::vector<std::string>{c.refusal}) << c.what;
    }
}

TEST(Generator, WarnsWhereTheScriptWouldBeWrongOrSilent) {
    struct Case {
        const char* what;
        std::function<void(conditions::ConditionList&)> build;
        std::string_view message;
        std::string_view combination;
    };
    const Case table[] = {
        {"typed joiner",
         [](auto& list) {
             addValueCondition(list);
             addOperation(list, "1");
             addValueCondition(list);
         },
         "Не корректное объединение условий: между условиями 1 и 2 нет операции «И» или «ИЛИ»!"_cp,
         "Condition_I =  condition1 condition2"},
        {"group without a joiner",
         [](auto& list) {
             addValueCondition(list);
             addOperation(list, ") (");
             addValueCondition(list);
         },
         "Не корректное объединение условий: между условиями 1 и 2 нет операции «И» или «ИЛИ»!"_cp,
         "Condition_I =  condition1)( condition2"},
        {"line",
         [](auto& list) { addCondition(list, currentPart("5 МИН", "PRICE", "abc"), "РАЗВОРАЧИВАЕТСЯ"_cp); },
         "Условие 1: номер линии «abc» должен быть целым числом от 0!"_cp, "Condition_I =  condition1"},
        {"level",
         [](auto& list) { addCondition(list, currentPart("5 МИН"), "МЕНЬШЕ"_cp, ValueLevel{"1,5,5"}); },
         "Условие 1: уровень «1,5,5» не является числом!"_cp, "Condition_I =  condition1"},
        {"interval", [](auto& list) { addValueCondition(list, "5 мин."); },
         "Ни в одной части условий не выбран интервал из списка: скрипт никогда не запишет сообщение!"_cp,
         "Condition_I =  condition1"},
    };
    for (const Case& c : table) {
        conditions::ConditionList list;
        c.build(list);
        const GeneratedScript script = generate(list);
        EXPECT_FALSE(script.refused) << c.what;
        EXPECT_EQ(script.messages, std::vector<std::string>{std::string(c.message)}) << c.what;
        EXPECT_EQ(lineStarting(script.lines, "Condition_I ="), c.combination) << c.what;
    }
}

TEST(Generator, ShorterSecondOperandNamesTheMessageChart) {
    conditions::ConditionList list;
    addCondition(list, currentPart("1 ЧАС"), "ПЕРЕСЕКАЕТ"_cp, currentPart("5 МИН", "MA", "3"));
    const GeneratedScript script = generate(list, "OLD");
    EXPECT_TRUE(has(script.lines, R"q(msg_p = GET_SHEDULE_MINUS("MA",datetime_curr,"5",0, "CLOSE"))q"));
    EXPECT_EQ(script.messageChart, "MA");
}

TEST(Generator, DayWeekAndMonthCandlesAreToldApartByDate) {
    conditions::ConditionList list;
    addValueCondition(list, "НЕДЕЛЯ");
    addOperation(list, "И"_cp);
    addValueCondition(list, "ДЕНЬ");
    const auto lines = generate(list).lines;
    EXPECT_TRUE(has(lines, R"q(msg_p = GET_SHEDULE_MINUS("PRICE",datetime_curr,"DAY",0, "CLOSE"))q"));
    const auto write =
        std::find(lines.begin(), lines.end(), "if (nDateMess!=nLastTimeMess) and (Condition_I>0)");
    ASSERT_NE(write, lines.end());
    EXPECT_EQ(write[1], "    nLastTimeMess=nDateMess");
    EXPECT_EQ(write[2], "    WRITELN(file_mess, mess)");
    EXPECT_EQ(write[3], "end if");
}

TEST(Generator, OperandLinesFollowTheStoredFields) {
    conditions::ConditionList list;
    testing::ChartPart previous = currentPart("МЕСЯЦ", "RTS", "10");
    previous.time = std::string("ПРЕДЫДУЩЕЕ ЗНАЧЕНИЕ"_cp);
    testing::ChartPart typed = currentPart("5 мин.", "", "");
    typed.time = "";
    addCondition(list, previous, "МЕНЬШЕ"_cp, typed);
    addOperation(list, "И"_cp);
    addCondition(list, currentPart("2 ЧАСА"), "РАВНО"_cp, ValueLevel{"1500,5"});
    const auto lines = generate(list).lines;
    const std::size_t first = at(lines, "is_prevtime11=1");
    EXPECT_TRUE(sameLines(
        slice(lines, first, 9),
        lineList({"is_prevtime11=1", "num_line11=10", "name_shedule11=\"RTS\"", "sPeriod11=\"MONTH\"",
                  "condition1=0", kSeparator, "sPeriod12=\"\"", kSeparator, kSeparator})));
    // A level typed with a decimal comma is written with the point QPL reads.
    EXPECT_TRUE(sameLines(slice(lines, at(lines, "condition2=0") + 2, 2),
                          lineList({"value22=1500.5", "sPeriod22=\"\""})));
}

TEST(Generator, ClientSettingsUpperCaseOnlyLatinLetters) {
    conditions::ConditionList list;
    addValueCondition(list);
    GeneratorInput input;
    input.conditions = &list;
    input.allClients = false;
    input.clientCode = "ab1ё"_cp;
    input.firmId = "mc01ж"_cp;
    input.account = "l01z"_cp;
    input.fileNameMessage = "C:\\Сообщения\\m.txt"_cp;
    const auto lines = generateScript(input).lines;
    EXPECT_TRUE(sameLines(slice(lines, 2, 2), lineList({"CLIENTS_LIST AB1ё;"_cp, "FIRMS_LIST MC01ж;"_cp})));
    EXPECT_TRUE(sameLines(slice(lines, 8, 4),
                          lineList({"CLIENT_CODE=\"ab1ё\""_cp, "FIRMID=\"MC01ж\""_cp, "ACCOUNT=\"L01Z\"",
                                    "file_mess=\"C:\\Сообщения\\m.txt\""_cp})));
}

TEST(Generator, SameInputGivesTheSameText) {
    conditions::ConditionList list;
    addOperation(list, "(");
    addValueCondition(list);
    addOperation(list, ") ИЛИ"_cp);
    addCondition(list, currentPart("30 МИН"), "РАЗВОРАЧИВАЕТСЯ"_cp);
    addOperation(list, "И"_cp);
    addCondition(list, currentPart("4 ЧАСА"), "ПЕРЕСЕКАЕТ ВНИЗ"_cp);
    const GeneratedScript first = generate(list);
    const GeneratedScript second = generate(list);
    EXPECT_TRUE(sameLines(second.lines, first.lines));
    EXPECT_EQ(second.messages, first.messages);
    ASSERT_EQ(first.messages.size(), 1u); // the crossing has no second operand
}

} // namespace
} // namespace zorvant::qpl
