#include "sim/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zorvant::sim {
namespace {

std::string withoutTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

std::string numberToText(double value) {
    if (value == 0)
        return "0";
    const double magnitude = std::fabs(value);
    char buffer[64];
    if (magnitude < 1e15 && value == std::floor(value)) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr;
        return std::string(buffer, end);
    }
    if (!std::isfinite(value) || magnitude >= 1e15)
        return std::string(
            buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr);
    const int integerDigits = magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int decimals = std::max(0, std::min(8, 15 - integerDigits));
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
    std::string text = withoutTrailingZeros(std::string(buffer, end));
    return text == "-0" ? "0" : text;
}

std::optional<double> parseQplNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 60)
        return std::nullopt;
    char buffer[64];
    std::size_t n = 0;
    std::size_t pos = 0;
    if (text[pos] == '+' || text[pos] == '-')
        buffer[n++] = text[pos++];
    bool digits = false;
    for (; pos < text.size() && ((text[pos] >= '0' && text[pos] <= '9') || text[pos] == '.'); ++pos) {
        digits = digits || text[pos] != '.';
        buffer[n++] = text[pos];
    }
    if (!digits)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        buffer[n++] = 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            buffer[n++] = text[pos++];
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
            buffer[n++] = text[pos];
    }
    if (pos != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error != std::errc() || end != buffer + n)
        return std::nullopt;
    return value;
}

std::string upperCase(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0)
            c = static_cast<char>(byte - 0x20);
        else if (byte == 0xB8)
            c = static_cast<char>(0xA8);
    }
    return out;
}

std::string upperCaseLatin(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 0x20);
    return out;
}

} // namespace zorvant::sim
