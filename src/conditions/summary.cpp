#include "conditions/summary.h"

#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"

namespace zorvant::conditions {
using namespace texts;

namespace {

// "CHART[LINE] INTERVAL" of a chart operand, marked when it reads the previous candle; the level of a
// value operand.
std::string partSummary(const Node& part) {
    const std::string level = GetTagValue(&part, kValue);
    if (!level.empty())
        return level;
    std::string summary =
        GetTagValue(&part, kChart) + "[" + GetTagValue(&part, kLine) + "] " + GetTagValue(&part, kInterval);
    if (GetTagValue(&part, kTime) == labels::kPreviousValue)
        summary += " (ПРЕД.)"_cp;
    return summary;
}

} // namespace

std::string conditionSummary(const Node& condition) {
    std::string summary;
    const auto append = [&summary](const std::string& piece) {
        if (!piece.empty())
            summary += summary.empty() ? piece : " " + piece;
    };
    for (const auto& child : condition.children()) {
        if (child->text == kPart1 || child->text == kPart2)
            append(partSummary(*child));
        else if (child->text.find(kActionOpen) != std::string::npos)
            append(actionOfLine(child->text));
    }
    return summary;
}

std::string summaryLabel(const Node& node, int conditionNumber) {
    if (isCondition(node))
        return node.text + "  " + std::to_string(conditionNumber) + ": " + conditionSummary(node);
    if (isOperation(node))
        return node.text + "  " + GetTagValue(&node, kType);
    return node.text;
}

} // namespace zorvant::conditions
