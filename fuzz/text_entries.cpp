// The text layer: the Windows-1251 codec, the general number format and the line splitters.
#include "entries.h"

#include "text/cp1251.h"
#include "text/lines.h"
#include "text/number_format.h"

#include "text/error.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace zorvant::fuzz {

void textCodec(std::string_view bytes) {
    // Every Windows-1251 byte survives a trip through UTF-8, and decoding is stable after one pass.
    const std::string utf8 = text::toUtf8(bytes);
    check(text::fromUtf8(utf8) == bytes, "toUtf8 then fromUtf8 changed the bytes");
    const std::string decoded = text::fromUtf8(bytes);
    check(decoded.size() <= bytes.size(), "fromUtf8 made more characters than bytes");
    check(text::fromUtf8(text::toUtf8(decoded)) == decoded, "fromUtf8 is not stable");
    keep(utf8.size() + decoded.size());
}

namespace {

char separatorOf(std::string_view& bytes) {
    if (bytes.empty())
        return ',';
    const char chosen = bytes.front() & 1 ? '.' : ',';
    bytes.remove_prefix(1);
    return chosen;
}

// A formatted number reads back as the same text and nearly the same value.
void checkRoundTrip(double value, char separator) {
    const std::string shown = text::formatGeneral(value, separator);
    check(shown.size() <= 24, "formatGeneral made an overlong text");
    // The 15-digit text of the largest doubles lies beyond the range and is rightly refused.
    if (!std::isfinite(value) || std::fabs(value) > 1e308)
        return;
    check(shown.find(separator == ',' ? '.' : ',') == std::string::npos, "the other separator appeared");
    const double back = text::parseNumber(shown, separator);
    check(text::formatGeneral(back, separator) == shown, "formatGeneral is not stable after reading back");
    check(std::fabs(back - value) <= std::fabs(value) * 1e-14, "reading back moved the value");
}

// The C library's reading of the same text (the fuzz process keeps the "C" locale), with values too small
// for a normal double taken as zero, as parseNumber takes them.
double flushed(double value) {
    return std::fabs(value) < DBL_MIN ? 0.0 : value;
}

double referenceValue(std::string_view text, char separator) {
    std::string plain(text);
    std::replace(plain.begin(), plain.end(), separator, '.');
    return flushed(std::strtod(plain.c_str(), nullptr));
}

} // namespace

void numberParser(std::string_view bytes) {
    const char separator = separatorOf(bytes);
    double value = 0;
    try {
        value = text::parseNumber(bytes, separator);
    } catch (const Error&) {
        return;
    }
    check(std::isfinite(value), "parseNumber gave a value that is not finite");
    check(flushed(value) == referenceValue(bytes, separator), "parseNumber differs from strtod");
    checkRoundTrip(value, separator);
}

void numberFormat(std::string_view bytes) {
    if (bytes.size() < sizeof(double))
        return;
    double value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    bytes.remove_prefix(sizeof value);
    checkRoundTrip(value, separatorOf(bytes));
    check(text::roundHalfEven(value) == std::nearbyint(value) || !std::isfinite(value),
          "roundHalfEven differs from rounding to even");
}

namespace {

bool holdsLineBreak(const std::vector<std::string>& lines, bool nulToo) {
    for (const auto& line : lines)
        if (line.find_first_of(nulToo ? std::string_view("\r\n\0", 3) : "\r\n") != std::string::npos)
            return true;
    return false;
}

} // namespace

void lineSplitters(std::string_view bytes) {
    const auto settings = text::splitSettingsLines(bytes);
    check(!holdsLineBreak(settings, false), "a settings line holds a line break");
    check(text::splitSettingsLines(text::joinCrLf(settings)) == settings, "settings lines do not round-trip");
    const auto conditions = text::splitConditionLines(bytes);
    check(!holdsLineBreak(conditions, true), "a conditions line holds a line break or NUL");
    check(text::splitConditionLines(text::joinCrLf(conditions)) == conditions,
          "conditions lines do not round-trip");
    keep(settings.size() + conditions.size());
}

} // namespace zorvant::fuzz
