#include "sim/builtins.h"
#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

#include <charconv>
#include <cmath>

namespace zorvant::sim {
namespace {

using namespace text::literals;

double num(BuiltinCall& call, std::size_t i) {
    return asNumber(call.arg(i), call.machine, call.pos);
}
// The text in place when the argument is one; a number is written into scratch.
std::string_view txt(BuiltinCall& call, std::size_t i, std::string& scratch) {
    return textView(call.arg(i), scratch, call.pos);
}

Value floorOf(BuiltinCall& call) {
    return std::floor(num(call, 0));
}
Value ceilOf(BuiltinCall& call) {
    return std::ceil(num(call, 0));
}
Value absOf(BuiltinCall& call) {
    return std::fabs(num(call, 0));
}
Value sqrtOf(BuiltinCall& call) {
    return checkedNumber(std::sqrt(num(call, 0)), call.pos);
}
// The exponent is read first: warnings keep the order runs have always listed them in.
Value powOf(BuiltinCall& call) {
    const double exponent = num(call, 1);
    return checkedNumber(std::pow(num(call, 0), exponent), call.pos);
}
Value logOf(BuiltinCall& call) {
    return checkedNumber(std::log(num(call, 0)), call.pos);
}
Value expOf(BuiltinCall& call) {
    return checkedNumber(std::exp(num(call, 0)), call.pos);
}

Value lenOf(BuiltinCall& call) {
    std::string scratch;
    return static_cast<double>(txt(call, 0, scratch).size());
}

// Positions count from 0; a range that runs past the text is cut at its end.
Value substrOf(BuiltinCall& call) {
    std::string scratch;
    const std::string_view s = txt(call, 0, scratch);
    const double start = std::floor(num(call, 1));
    const double length = std::floor(num(call, 2));
    if (start < 0 || length <= 0 || start >= static_cast<double>(s.size()))
        return Value(std::string());
    return Value(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(std::min(length, 1e9))));
}

// FIND(text, start, part): the position of part at or after start, or -1.
Value findIn(BuiltinCall& call) {
    std::string scratch, partScratch;
    const std::string_view s = txt(call, 0, scratch);
    const double start = std::max(0.0, std::floor(num(call, 1)));
    if (start > static_cast<double>(s.size()))
        return -1.0;
    const auto at = s.find(txt(call, 2, partScratch), static_cast<std::size_t>(start));
    return at == std::string::npos ? -1.0 : static_cast<double>(at);
}

Value trimOf(BuiltinCall& call) {
    std::string scratch;
    std::string_view s = txt(call, 0, scratch);
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    s.remove_suffix(s.size() - (s.find_last_not_of(' ') + 1));
    return Value(s);
}

// The number rounded to scale decimals, as text with exactly that many decimals.
Value applyScale(BuiltinCall& call) {
    const double scale = std::floor(num(call, 1));
    if (scale < 0 || scale > 15)
        throw ScriptError(call.pos, "APPLY_SCALE: число знаков должно быть от 0 до 15"_cp);
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, num(call, 0), std::chars_format::fixed,
                                   static_cast<int>(scale))
                         .ptr;
    return Value(std::string(buffer, end));
}

Value nothing(BuiltinCall&) {
    return Value(std::string());
}

constexpr Builtin kTextMath[] = {
    {"FLOOR", 1, 1, floorOf},      {"CEIL", 1, 1, ceilOf}, {"ABS", 1, 1, absOf},
    {"SQRT", 1, 1, sqrtOf},        {"POW", 2, 2, powOf},   {"LOG", 1, 1, logOf},
    {"EXP", 1, 1, expOf},          {"LEN", 1, 1, lenOf},   {"SUBSTR", 3, 3, substrOf},
    {"FIND", 3, 3, findIn},        {"TRIM", 1, 1, trimOf}, {"APPLY_SCALE", 2, 2, applyScale},
    {"BREAKPOINT", 0, 0, nothing},
};
static_assert(fitsArgs(kTextMath));

} // namespace

std::span<const Builtin> textMathBuiltins() {
    return kTextMath;
}

} // namespace zorvant::sim
