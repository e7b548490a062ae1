#include "text/number_format.h"

#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zorvant::text {
namespace {

// 15 significant digits and the decimal exponent of the first one, after rounding.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits significantDigits(double magnitude) {
    // to_chars, unlike printf, ignores the C locale, which a desktop program sets from the user's.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14).ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = text.find('e');
    Digits result;
    for (const char c : text.substr(0, e))
        if (c != '.')
            result.digits += c;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    result.exponent);
    while (result.digits.size() > 1 && result.digits.back() == '0')
        result.digits.pop_back();
    return result;
}

std::string withSeparator(std::string_view integerPart, std::string_view fraction, char separator) {
    std::string out(integerPart);
    if (!fraction.empty()) {
        out += separator;
        out += fraction;
    }
    return out;
}

} // namespace

std::string formatGeneral(double value, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    const std::string sign = value < 0 ? "-" : "";
    const Digits d = significantDigits(std::fabs(value));
    if (d.exponent >= 15 || std::fabs(value) < 0.00001) {
        return sign +
               withSeparator(d.digits.substr(0, 1), std::string_view(d.digits).substr(1), decimalSeparator) +
               "E" + std::to_string(d.exponent);
    }
    if (d.exponent < 0)
        return sign + withSeparator("0", std::string(-d.exponent - 1, '0') + d.digits, decimalSeparator);
    const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
    std::string integerPart = d.digits.substr(0, std::min(integerDigits, d.digits.size()));
    integerPart.append(integerDigits - integerPart.size(), '0');
    const std::string fraction = d.digits.size() > integerDigits ? d.digits.substr(integerDigits) : "";
    return sign + withSeparator(integerPart, fraction, decimalSeparator);
}

double parseNumber(std::string_view text, char decimalSeparator) {
    const auto fail = [&]() -> double {
        using namespace literals;
        throw Error(std::string("\""_cp) + std::string(text) +
                    std::string("\" не является правильным числом."_cp));
    };
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string_view::npos)
        return fail();
    const std::string_view body = text.substr(begin, end - begin + 1);
    std::string plain;
    std::size_t i = 0;
    const auto isDigit = [&](std::size_t k) { return k < body.size() && body[k] >= '0' && body[k] <= '9'; };
    if (i < body.size() && (body[i] == '+' || body[i] == '-'))
        if (body[i++] == '-')
            plain += '-'; // from_chars takes no leading plus
    std::size_t mantissaDigits = 0;
    for (; isDigit(i); ++i, ++mantissaDigits)
        plain += body[i];
    if (i < body.size() && body[i] == decimalSeparator) {
        plain += '.';
        for (++i; isDigit(i); ++i, ++mantissaDigits)
            plain += body[i];
    }
    if (mantissaDigits == 0)
        return fail();
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            plain += body[i++];
        if (!isDigit(i))
            return fail();
        for (; isDigit(i); ++i)
            plain += body[i];
    }
    if (i != body.size())
        return fail();
    double value = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return value;
}

double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

} // namespace zorvant::text
