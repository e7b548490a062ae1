#include "sim/operations.h"

#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "text/cp1251.h"

#include <cmath>

namespace zorvant::sim {
namespace {

using namespace text::literals;

[[noreturn]] void notScalar(SourcePos pos) {
    throw ScriptError(pos, "таблица (MAP или COLLECTION) там, где нужно число или строка"_cp);
}

int compareTexts(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

double asNumber(const Value& value, Machine& machine, SourcePos pos) {
    if (value.isNumber())
        return value.number();
    if (!value.isText())
        notScalar(pos);
    const std::string_view text = value.text();
    if (text.empty())
        return 0;
    if (const auto number = parseQplNumber(text))
        return *number;
    machine.warnings().add(pos, cat("текст \""_cp, text.substr(0, 40), "\" не число: взят 0"_cp));
    return 0;
}

std::string asText(const Value& value, SourcePos pos) {
    if (value.isText())
        return std::string(value.text());
    if (value.isNumber())
        return numberToText(value.number());
    notScalar(pos);
}

std::string_view textView(const Value& value, std::string& scratch, SourcePos pos) {
    if (value.isText())
        return value.text();
    scratch = asText(value, pos);
    return scratch;
}

bool isTrue(const Value& value, Machine& machine, SourcePos pos) {
    return asNumber(value, machine, pos) != 0;
}

// A number against a text compares as numbers when the text is one, otherwise as texts.
int compareValues(const Value& left, const Value& right, SourcePos pos) {
    if ((!left.isNumber() && !left.isText()) || (!right.isNumber() && !right.isText()))
        notScalar(pos);
    if (left.isNumber() && right.isNumber())
        return compareNumbers(left.number(), right.number());
    if (left.isText() && right.isText())
        return compareTexts(left.text(), right.text());
    const Value& text = left.isText() ? left : right;
    if (const auto number = parseQplNumber(text.text()))
        return left.isNumber() ? compareNumbers(left.number(), *number)
                               : compareNumbers(*number, right.number());
    return compareTexts(asText(left, pos), asText(right, pos));
}

void failDivisionByZero(SourcePos pos) {
    throw ScriptError(pos, "деление на ноль"_cp);
}

void failNotFinite(SourcePos pos) {
    throw ScriptError(pos, "результат не число (деление на ноль или переполнение)"_cp);
}

} // namespace zorvant::sim
