#pragma once
// The fixed runs of lines a condition block is built from. In a template "{C}" stands for the condition
// number; every other character is emitted as it stands, tabs and spaces included.
#include "text/cp1251.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::qpl {
using namespace text::literals;

inline constexpr std::string_view kSeparator = "'==================================";

using Templates = std::vector<std::string_view>;

// The template with every "{C}" replaced by the number.
std::string expand(std::string_view pattern, std::string_view number);
void appendExpanded(std::vector<std::string>& out, std::span<const std::string_view> templates,
                    std::string_view number);

// Concatenates runs of templates into one.
template <typename... Runs> Templates join(const Runs&... runs) {
    Templates out;
    (out.insert(out.end(), std::begin(runs), std::end(runs)), ...);
    return out;
}

inline constexpr std::array<std::string_view, 8> kLegend = {
    kSeparator,
    "'Имя переменной NCP_T"_cp,
    "'где:"_cp,
    "'N - название"_cp,
    "'C - номер условия"_cp,
    "'P - номер части в условии"_cp,
    "'T - время (1-текущее, 2 -предыдущее ...)"_cp,
    kSeparator,
};

// The candle of part 1 and of part 2, moved one period back when the part asks for the previous one.
inline constexpr std::array<std::string_view, 9> kG1 = {
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_curr,sPeriod{C}1, num_line{C}1, "CLOSE"))q",
    R"q(datetime_{C}1_1= GET_VALUE(msg_p,"datetime"))q",
    R"q(close_shedule_{C}1_1= 0+GET_VALUE(msg_p,"value"))q",
    R"q(if is_prevtime{C}1=1)q",
    R"q(   datetime_{C}1_1=datetime_minus_period(datetime_{C}1_1,sPeriod{C}1))q",
    R"q(   msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_1,sPeriod{C}1, num_line{C}1, "CLOSE"))q",
    R"q(   datetime_{C}1_1= GET_VALUE(msg_p,"datetime"))q",
    R"q(   close_shedule_{C}1_1= 0+GET_VALUE(msg_p,"value"))q",
    R"q(end if)q",
};
inline constexpr std::array<std::string_view, 9> kG2 = {
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}2,datetime_curr,sPeriod{C}2, num_line{C}2, "CLOSE"))q",
    R"q(datetime_{C}2_1= GET_VALUE(msg_p,"datetime"))q",
    R"q(close_shedule_{C}2_1= 0+GET_VALUE(msg_p,"value"))q",
    R"q(if is_prevtime{C}2=1)q",
    R"q(   datetime_{C}2_1=datetime_minus_period(datetime_{C}2_1,sPeriod{C}2))q",
    R"q(   msg_p = GET_SHEDULE_MINUS(name_shedule{C}2,datetime_{C}2_1,sPeriod{C}2, num_line{C}2, "CLOSE"))q",
    R"q(   datetime_{C}2_1= GET_VALUE(msg_p,"datetime"))q",
    R"q(   close_shedule_{C}2_1= 0+GET_VALUE(msg_p,"value"))q",
    R"q(end if)q",
};

// HIGH, LOW and OPEN of part 1's candle.
inline constexpr std::array<std::string_view, 2> kH1 = {
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_1,sPeriod{C}1, num_line{C}1, "HIGH"))q",
    R"q(high_shedule_{C}1_1= 0+GET_VALUE(msg_p,"value"))q",
};
inline constexpr std::array<std::string_view, 2> kL1 = {
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_1,sPeriod{C}1, num_line{C}1, "LOW"))q",
    R"q(low_shedule_{C}1_1= 0+GET_VALUE(msg_p,"value"))q",
};
inline constexpr std::array<std::string_view, 2> kO1 = {
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_1,sPeriod{C}1, num_line{C}1, "OPEN"))q",
    R"q(open_shedule_{C}1_1= 0+GET_VALUE(msg_p,"value"))q",
};

// The close of part 1's previous candle without its date (short form) and with it (full form), the
// candle before that, and part 2's previous candle.
inline constexpr std::array<std::string_view, 3> kQ1 = {
    R"q(datetime_{C}1_2=datetime_minus_period(datetime_{C}1_1,sPeriod{C}1))q",
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_2,sPeriod{C}1, num_line{C}1, "CLOSE"))q",
    R"q(close_shedule_{C}1_2= 0+GET_VALUE(msg_p,"value"))q",
};
inline constexpr std::array<std::string_view, 4> kP12 = {
    R"q(datetime_{C}1_2=datetime_minus_period(datetime_{C}1_1,sPeriod{C}1))q",
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_2,sPeriod{C}1, num_line{C}1, "CLOSE"))q",
    R"q(datetime_{C}1_2= GET_VALUE(msg_p,"datetime"))q",
    R"q(close_shedule_{C}1_2= 0+GET_VALUE(msg_p,"value"))q",
};
inline constexpr std::array<std::string_view, 4> kP13 = {
    R"q(datetime_{C}1_3=datetime_minus_period(datetime_{C}1_2,sPeriod{C}1))q",
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_3,sPeriod{C}1, num_line{C}1, "CLOSE"))q",
    R"q(datetime_{C}1_3= GET_VALUE(msg_p,"datetime"))q",
    R"q(close_shedule_{C}1_3= 0+GET_VALUE(msg_p,"value"))q",
};
inline constexpr std::array<std::string_view, 4> kP22 = {
    R"q(datetime_{C}2_2=datetime_minus_period(datetime_{C}2_1,sPeriod{C}2))q",
    R"q(msg_p = GET_SHEDULE_MINUS(name_shedule{C}2,datetime_{C}2_2,sPeriod{C}2, num_line{C}2, "CLOSE"))q",
    R"q(datetime_{C}2_2= GET_VALUE(msg_p,"datetime"))q",
    R"q(close_shedule_{C}2_2= 0+GET_VALUE(msg_p,"value"))q",
};

// A flat stretch of closes must not hide a turn: step back, at most 500 candles, to a different close.
inline constexpr std::array<std::string_view, 13> kSkip = {
    kSeparator,
    "if (close_shedule_{C}1_2 = close_shedule_{C}1_3)",
    "\tfor n from 1 to 500",
    "\t\tdatetime_{C}1_3=datetime_minus_period(datetime_{C}1_3,sPeriod{C}1)",
    "\t\tmsg_p = GET_SHEDULE_MINUS(name_shedule{C}1,datetime_{C}1_3,sPeriod{C}1, num_line{C}1, \"CLOSE\")",
    "\t\tdatetime_{C}1_3= GET_VALUE(msg_p,\"datetime\")",
    "\t\tclose_shedule_{C}1_3= 0+GET_VALUE(msg_p,\"value\")",
    "\t\tif close_shedule_{C}1_2 != close_shedule_{C}1_3",
    "\t\t\tbreak",
    "\t\tend if",
    "\tend for",
    "end if",
    kSeparator,
};

// Follows every test line.
inline constexpr std::array<std::string_view, 2> kHit = {"   condition{C}=1", "end if"};

// The message fragment's tail: the second line's name (msg_p then holds part 2's last fetch), or the
// value level.
inline constexpr std::array<std::string_view, 1> kMc = {R"q(mess{C}= mess{C} & GET_VALUE(msg_p,"Name"))q"};
inline constexpr std::array<std::string_view, 1> kMv = {R"q(mess{C}= mess{C} & " " & value{C}2)q"};

inline constexpr std::array<std::string_view, 3> kClosing = {kSeparator, "", kSeparator};

} // namespace zorvant::qpl
