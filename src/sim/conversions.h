#pragma once
// How the simulator turns numbers into text and text into numbers, and upper-cases constants.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace zorvant::sim {

// Whole numbers below 1E15 without a point; others with at most 8 decimals and 15 significant digits,
// trailing zeros dropped, "." as the decimal point; no exponent below 1E15.
std::string numberToText(double value);

// A number written as digits with an optional point, an optional exponent "E" or "D" and an optional
// sign, spaces around allowed; nothing else is a number.
std::optional<double> parseQplNumber(std::string_view text);

// A number as a whole argument (a candle's date or time, an index): its floor, or -1 outside 0 .. 1E9.
inline int wholeNumber(double n) {
    return n >= 0 && n < 1e9 ? static_cast<int>(std::floor(n)) : -1;
}

// Windows-1251 upper case of Latin and Cyrillic letters (ё included).
std::string upperCase(std::string_view cp1251);
// Upper case of the Latin letters only, as identifiers are compared.
std::string upperCaseLatin(std::string_view text);

} // namespace zorvant::sim
