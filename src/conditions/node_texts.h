#pragma once
// The fixed node texts and tag names of the condition list, as Windows-1251.
#include "text/cp1251.h"

#include <string_view>

namespace zorvant::conditions::texts {
using namespace text::literals;

inline constexpr std::string_view kCondition = "<УСЛОВИЕ>"_cp;
inline constexpr std::string_view kConditionEnd = "</УСЛОВИЕ>"_cp;
inline constexpr std::string_view kPart1 = "<ЧАСТЬ1>"_cp;
inline constexpr std::string_view kPart1End = "</ЧАСТЬ1>"_cp;
inline constexpr std::string_view kPart2 = "<ЧАСТЬ2>"_cp;
inline constexpr std::string_view kPart2End = "</ЧАСТЬ2>"_cp;
inline constexpr std::string_view kOperation = "<ОПЕРАЦИЯ>"_cp;
inline constexpr std::string_view kOperationEnd = "</ОПЕРАЦИЯ>"_cp;
inline constexpr std::string_view kActionOpen = "<ДЕЙСТВИЕ>"_cp;

// Tag names for GetTagValue and SetTagValue.
inline constexpr std::string_view kTime = "ВРЕМЯ"_cp;
inline constexpr std::string_view kLine = "ЛИНИЯ"_cp;
inline constexpr std::string_view kChart = "ГРАФИК"_cp;
inline constexpr std::string_view kInterval = "ИНТЕРВАЛ"_cp;
inline constexpr std::string_view kAction = "ДЕЙСТВИЕ"_cp;
inline constexpr std::string_view kValue = "ЗНАЧЕНИЕ"_cp;
inline constexpr std::string_view kType = "ТИП"_cp;

} // namespace zorvant::conditions::texts
