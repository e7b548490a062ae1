#pragma once
// PeriodCode: the interval code QPL and the helper library use, "1" to "240" minutes or "DAY", "WEEK",
// "MONTH"; the empty text means no interval.
#include <string>
#include <string_view>

namespace zorvant::qpl {

// Whole-text, case-sensitive match against the sixteen interval labels; anything else gives "".
std::string PeriodCodeOf(std::string_view label);

// The place of a code in the order from shortest to longest ("1" first, "MONTH" last); -1 for any other
// text.
int periodRank(std::string_view periodCode);

} // namespace zorvant::qpl
