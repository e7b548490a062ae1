#pragma once
// The general number format that node texts keep numbers in: at most 15 significant digits, no trailing
// zeros, no thousands separator, the locale's decimal separator; exponent form from 1E15 up and below 1E-5.
#include <string>
#include <string_view>

namespace zorvant::text {

std::string formatGeneral(double value, char decimalSeparator);

// Parses text written in the general format (leading and trailing spaces allowed). Throws zorvant::Error
// whose text names the text that is not a valid number.
double parseNumber(std::string_view text, char decimalSeparator);

// Parses a number as a person types it: the locale's decimal separator or the other of point and comma.
// Throws zorvant::Error naming the text as typed when it is no number either way.
double parseEitherSeparator(std::string_view text, char decimalSeparator);

// Rounds to the nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

} // namespace zorvant::text
