#pragma once
// What the native versions of library FUNCs share: their table entries, and the conversions of the
// language they repeat. Each conversion answers nullopt where the text would warn or fail, so that the
// native declines and the text runs instead.
#include "sim/conversions.h"
#include "sim/native_library.h"

#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zorvant::sim {

struct NativeEntry {
    // The FUNC's name in Latin upper case.
    std::string_view name;
    NativeFn fn;
    // The FUNC's variables the native assigns, in the order of NativeCall::slots.
    std::span<const std::string_view> variables;
    // Makes what the native keeps between calls, for a native that keeps anything.
    std::unique_ptr<NativeMemory> (*memory)() = nullptr;
};

std::span<const NativeEntry> scheduleNatives();
std::span<const NativeEntry> dateTimeNatives();

namespace native {

// The keys of the maps natives make, made once: a key made from its text anew costs as much as the
// rest of setting it.
inline const Value kDate{std::string_view("DATE")};
inline const Value kTime{std::string_view("TIME")};

// The numbers natives take stay far from where arithmetic on them could overflow.
inline bool ordinary(double x) {
    return std::fabs(x) < 1e15;
}

// 0 + x: a number as it stands, a text that is a number (an empty one counts 0).
inline std::optional<double> plusZero(const Value& x) {
    if (x.isNumber())
        return ordinary(x.number()) ? std::optional<double>(0 + x.number()) : std::nullopt;
    if (!x.isText())
        return std::nullopt;
    if (x.text().empty())
        return 0.0;
    const std::optional<double> number = parseQplNumber(x.text());
    if (!number || !ordinary(*number))
        return std::nullopt;
    return 0 + *number;
}

// 0 + GET_VALUE(map, key): a missing key reads as an empty text, so as 0.
inline std::optional<double> numberAt(const MapData& map, std::string_view key) {
    const Value* found = map.find(key);
    return found != nullptr ? plusZero(*found) : std::optional<double>(0.0);
}
inline std::optional<double> numberAt(const Value& map, std::string_view key) {
    return map.isMap() ? numberAt(*map.map(), key) : std::nullopt;
}

// x as the text of "" & x: a text as it stands, a number written out.
inline std::optional<std::string_view> textOf(const Value& x, std::string& scratch) {
    if (x.isText())
        return x.text();
    if (!x.isNumber())
        return std::nullopt;
    scratch = numberToText(x.number());
    return scratch;
}

// Periods of a day or longer; the others count minutes.
inline bool dayOrLonger(std::string_view period) {
    return period == "DAY" || period == "WEEK" || period == "MONTH";
}

} // namespace native
} // namespace zorvant::sim
