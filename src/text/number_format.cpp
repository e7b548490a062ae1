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

// from_chars reports overflow and underflow alike as out of range; the decimal order of the plain text
// ("-12.5e3" form) tells them apart.
bool tooLarge(std::string_view plain) {
    const auto e = std::min(plain.find('e'), plain.size());
    const std::string_view mantissa = plain.substr(0, e);
    const auto point = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const auto firstDigit = mantissa.find_first_of("123456789");
    if (firstDigit == std::string_view::npos)
        return false;
    const auto first = static_cast<long long>(firstDigit);
    long long order = point - first - (first < point ? 1 : 0);
    if (e < plain.size()) {
        std::string_view exponent = plain.substr(e + 1);
        const bool negative = exponent.front() == '-';
        if (negative || exponent.front() == '+')
            exponent.remove_prefix(1);
        long long value = 0;
        const auto [end, ec] = std::from_chars(exponent.data(), exponent.data() + exponent.size(), value);
        const long long limit = 1'000'000'000;
        value = ec == std::errc() ? std::min(value, limit) : limit;
        order += negative ? -value : value;
    }
    return order > 0;
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
    // Decided on the rounded digits, so that a value that rounds up to 0.00001 reads back as the same text.
    if (d.exponent >= 15 || d.exponent < -5) {
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
    if (std::from_chars(plain.data(), plain.data() + plain.size(), value).ec ==
        std::errc::result_out_of_range) {
        // Too large for a double is no valid number; too small is zero.
        if (tooLarge(plain))
            return fail();
        return plain.front() == '-' ? -0.0 : 0.0;
    }
    return value;
}

double parseEitherSeparator(std::string_view text, char decimalSeparator) {
    std::string unified(text);
    std::replace(unified.begin(), unified.end(), decimalSeparator == ',' ? '.' : ',', decimalSeparator);
    try {
        return parseNumber(unified, decimalSeparator);
    } catch (const Error&) {
        return parseNumber(text, decimalSeparator); // fails as well, naming the text as typed
    }
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
