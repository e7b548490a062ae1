#pragma once
// The items the editor offers: times, interval labels, actions and joiners, in their list order.
#include "text/cp1251.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace zorvant::conditions::labels {
using namespace text::literals;

inline constexpr std::string_view kCurrentValue = "ТЕКУЩЕЕ ЗНАЧЕНИЕ"_cp;
inline constexpr std::string_view kPreviousValue = "ПРЕДЫДУЩЕЕ ЗНАЧЕНИЕ"_cp;
inline constexpr std::array<std::string_view, 2> kTimes = {kCurrentValue, kPreviousValue};

inline constexpr std::array<std::string_view, 16> kIntervals = {
    "1 МИН"_cp,  "2 МИН"_cp,  "3 МИН"_cp, "4 МИН"_cp,  "5 МИН"_cp,  "6 МИН"_cp, "10 МИН"_cp, "15 МИН"_cp,
    "20 МИН"_cp, "30 МИН"_cp, "1 ЧАС"_cp, "2 ЧАСА"_cp, "4 ЧАСА"_cp, "ДЕНЬ"_cp,  "НЕДЕЛЯ"_cp, "МЕСЯЦ"_cp,
};

inline constexpr std::string_view kCrosses = "ПЕРЕСЕКАЕТ"_cp;
inline constexpr std::string_view kCrossesUp = "ПЕРЕСЕКАЕТ ВВЕРХ"_cp;
inline constexpr std::string_view kCrossesDown = "ПЕРЕСЕКАЕТ ВНИЗ"_cp;
inline constexpr std::string_view kTurns = "РАЗВОРАЧИВАЕТСЯ"_cp;
inline constexpr std::string_view kTurnsUp = "РАЗВОРАЧИВАЕТСЯ ВВЕРХ"_cp;
inline constexpr std::string_view kTurnsDown = "РАЗВОРАЧИВАЕТСЯ ВНИЗ"_cp;
inline constexpr std::string_view kGreater = "БОЛЬШЕ"_cp;
inline constexpr std::string_view kLess = "МЕНЬШЕ"_cp;
inline constexpr std::string_view kGreaterOrEqual = "БОЛЬШЕ ИЛИ РАВНО"_cp;
inline constexpr std::string_view kLessOrEqual = "МЕНЬШЕ ИЛИ РАВНО"_cp;
inline constexpr std::string_view kEqual = "РАВНО"_cp;
inline constexpr std::string_view kRisingCandle = "СВЕЧА РОСТА (CLOSE>OPEN)"_cp;
inline constexpr std::string_view kFallingCandle = "СВЕЧА ПАДЕНИЯ (CLOSE<OPEN)"_cp;
inline constexpr std::string_view kAbovePrevious = "БОЛЬШЕ ПРЕДЫДУЩЕГО"_cp;
inline constexpr std::string_view kBelowPrevious = "МЕНЬШЕ ПРЕДЫДУЩЕГО"_cp;

inline constexpr std::array<std::string_view, 15> kActions = {
    kCrosses,   kCrossesUp,    kCrossesDown,   kTurns,          kTurnsUp,
    kTurnsDown, kGreater,      kLess,          kGreaterOrEqual, kLessOrEqual,
    kEqual,     kRisingCandle, kFallingCandle, kAbovePrevious,  kBelowPrevious,
};

inline constexpr std::array<std::string_view, 7> kOneOperandActions = {
    kTurns, kTurnsUp, kTurnsDown, kRisingCandle, kFallingCandle, kAbovePrevious, kBelowPrevious,
};

// Exact, case-sensitive comparison: a typed text that matches none counts as a two-operand action.
inline bool isOneOperandAction(std::string_view action) {
    return std::find(kOneOperandActions.begin(), kOneOperandActions.end(), action) !=
           kOneOperandActions.end();
}

inline constexpr std::string_view kOr = "ИЛИ"_cp;
inline constexpr std::string_view kAnd = "И"_cp;
inline constexpr std::array<std::string_view, 2> kJoiners = {kOr, kAnd};

} // namespace zorvant::conditions::labels
