#include "qpl/script_frame.h"

#include "qpl/line_groups.h"
#include "qpl/message_period.h"

#include <array>

namespace zorvant::qpl {

namespace {
std::string quoted(std::string_view key, std::string_view value) {
    return std::string(key) + "=\"" + std::string(value) + "\"";
}
} // namespace

std::string upperLatin(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void appendHead(const GeneratorInput& input, Lines& lines) {
    lines.push_back("PORTFOLIO_EX " + input.portfelName + ";");
    lines.push_back("DESCRIPTION " + input.portfelDesc + ";");
    if (input.allClients) {
        lines.emplace_back("CLIENTS_LIST ALL_CLIENTS;");
        lines.emplace_back("FIRMS_LIST ALL_FIRMS;");
    } else {
        lines.push_back("CLIENTS_LIST " + upperLatin(input.clientCode) + ";");
        lines.push_back("FIRMS_LIST " + upperLatin(input.firmId) + ";");
    }
    lines.emplace_back();
    lines.emplace_back("PROGRAM");
    lines.emplace_back(kSeparator);
}

void appendSettingsLines(const GeneratorInput& input, Lines& lines) {
    lines.push_back(quoted("CLIENT_CODE", input.clientCode));
    lines.push_back(quoted("FIRMID", upperLatin(input.firmId)));
    lines.push_back(quoted("ACCOUNT", upperLatin(input.account)));
    lines.push_back(quoted("file_mess", input.fileNameMessage));
    lines.emplace_back("BEGINDAY = 103000");
    lines.emplace_back("CLOSEDAY = 184500");
    lines.emplace_back("datetime_curr=GET_SERVER_DATETIME()");
    lines.emplace_back(kSeparator);
}

void appendMessageLines(const GeneratorInput& input, int conditionCount, std::string_view combination,
                        Lines& lines) {
    static constexpr std::array<std::string_view, 7> kMerge = {
        "if  condition{C}=1 ",
        R"q(  if mess= "")q",
        "      mess = mess{C}",
        "  else ",
        R"q(      mess= mess & "; " & mess{C})q",
        "  end if",
        "end if",
    };
    lines.push_back(input.compressed ? "  mess= \"" + input.compMess + "\"" : std::string("mess=\"\""));
    for (int n = 1; n <= conditionCount; ++n)
        appendExpanded(lines, kMerge, std::to_string(n));
    lines.emplace_back(R"q(mess= mess & " " & datetime_string(datetime_curr))q");
    lines.emplace_back(kSeparator);
    lines.emplace_back("'Условие сработало если Condition_I>0"_cp);
    lines.emplace_back(kSeparator);
    lines.emplace_back(combination);
    lines.emplace_back(kSeparator);
}

void appendOncePerCandleWrite(std::string_view messagePeriod, std::string_view messageChart, Lines& lines) {
    lines.emplace_back(R"q(new_global("nLastTimeMess",0))q");
    lines.push_back("msg_p = GET_SHEDULE_MINUS(\"" + std::string(messageChart) + "\",datetime_curr,\"" +
                    std::string(messagePeriod) + "\",0, \"CLOSE\")");
    lines.emplace_back(R"q(datetime_mess= GET_VALUE(msg_p,"datetime"))q");
    lines.emplace_back(R"q(nTimeMess=0+get_value(datetime_mess,"time"))q");
    lines.emplace_back(R"q(nDateMess=0+get_value(datetime_mess,"date"))q");
    lines.emplace_back(kSeparator);
    // Day, week and month candles are told apart by their date; minute candles by date and time, as
    // YYYYMMDDhhmmss (14 digits, exact in a QPL number), so the same hour of the next day is new.
    const std::string key = isDatePeriod(messagePeriod) ? "nDateMess" : "nDateMess*1000000+nTimeMess";
    lines.push_back("if (" + key + "!=nLastTimeMess) and (Condition_I>0)");
    lines.push_back("    nLastTimeMess=" + key);
    lines.emplace_back("    WRITELN(file_mess, mess)");
    lines.emplace_back("end if");
}

void appendTail(Lines& lines) {
    static constexpr std::array<std::string_view, 15> kTail = {
        kSeparator,
        "DELETE_ALL_ITEMS()",
        "output=CREATE_MAP()",
        R"q(output=SET_VALUE(output,"sTime",datetime_string(datetime_curr)))q",
        "ADD_ITEM(1,output)",
        "",
        "END_PROGRAM",
        "",
        "PARAMETER sTime;",
        "PARAMETER_TITLE Время;"_cp,
        "PARAMETER_DESCRIPTION Время;"_cp,
        "PARAMETER_TYPE STRING(20);",
        "END",
        "",
        "END_PORTFOLIO_EX",
    };
    lines.insert(lines.end(), kTail.begin(), kTail.end());
}

} // namespace zorvant::qpl
