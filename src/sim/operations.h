#pragma once
// Conversions and operators of the language: + - * / read text as numbers (text that is no number
// counts as 0), & joins as text, comparisons compare numbers as numbers and texts as texts.
#include "sim/script_error.h"
#include "sim/value.h"

#include <cmath>
#include <string>
#include <string_view>

namespace zorvant::sim {

class Machine;

double asNumber(const Value& value, Machine& machine, SourcePos pos);
std::string asText(const Value& value, SourcePos pos);
// The text without a copy when the value is one; a number is written into scratch.
std::string_view textView(const Value& value, std::string& scratch, SourcePos pos);
bool isTrue(const Value& value, Machine& machine, SourcePos pos);
inline int compareNumbers(double a, double b) {
    return a < b ? -1 : a > b ? 1 : 0;
}
// -1, 0 or 1.
int compareValues(const Value& left, const Value& right, SourcePos pos);
[[noreturn]] void failNotFinite(SourcePos pos);
[[noreturn]] void failDivisionByZero(SourcePos pos);
// Throws ScriptError when a result is no finite number (a division by zero, a root of a negative).
inline double checkedNumber(double value, SourcePos pos) {
    if (!std::isfinite(value))
        failNotFinite(pos);
    return value;
}

} // namespace zorvant::sim
