#include "conditions/edit_loading.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/number_format.h"

namespace zorvant::conditions {
using namespace texts;

namespace {

std::optional<double> numberOrNothing(const std::string& value, char separator) {
    if (value.empty())
        return std::nullopt;
    return text::parseEitherSeparator(value, separator);
}

ConditionForEdit::Part1 readPart1(const Node& part, char separator) {
    return {GetTagValue(&part, kTime), text::parseEitherSeparator(GetTagValue(&part, kLine), separator),
            GetTagValue(&part, kChart), GetTagValue(&part, kInterval)};
}

// For a value operand the chart fields come back empty; empty numbers are skipped.
ConditionForEdit::Part2 readPart2(const Node& part, char separator) {
    return {GetTagValue(&part, kTime), numberOrNothing(GetTagValue(&part, kLine), separator),
            GetTagValue(&part, kChart), GetTagValue(&part, kInterval),
            numberOrNothing(GetTagValue(&part, kValue), separator)};
}

} // namespace

ConditionForEdit readForEdit(const Node& condition, char decimalSeparator) {
    ConditionForEdit result;
    for (const auto& child : condition.children()) {
        if (child->text == kPart1)
            result.part1 = readPart1(*child, decimalSeparator);
        else if (child->text == kPart2)
            result.part2 = readPart2(*child, decimalSeparator);
        else if (child->text.find(kActionOpen) != std::string::npos)
            result.action = actionOfLine(child->text);
    }
    return result;
}

} // namespace zorvant::conditions
