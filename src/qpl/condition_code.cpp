#include "qpl/condition_code.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "qpl/action_table.h"

namespace zorvant::qpl {
namespace {
namespace texts = conditions::texts;

enum class SecondOperand { Missing, Chart, Value };

std::string valueTag() {
    std::string tag(1, '<');
    return tag.append(texts::kValue).append(1, '>');
}

// A second operand with no field line at all is as incomplete as a missing one.
SecondOperand secondOperandOf(const conditions::Node* next) {
    if (next == nullptr || next->text != texts::kPart2 || next->childCount() == 0)
        return SecondOperand::Missing;
    const bool isLevel = next->firstChild()->text.find(valueTag()) != std::string::npos;
    return isLevel ? SecondOperand::Value : SecondOperand::Chart;
}

std::string fragmentHead(std::string_view number, std::string_view action) {
    return expand(R"q(mess{C} = "" & GET_VALUE(msg_p,"Name") & " " & sPeriod{C}1 & " )q", number) +
           std::string(action) + " \"";
}

void appendActionLines(const ActionCode& code, const conditions::Node* next, std::string_view number,
                       MessageMode mode, GeneratedScript& script) {
    if (!code.needsSecondOperand()) {
        appendExpanded(script.lines, code.alone, number);
        return;
    }
    const SecondOperand operand = secondOperandOf(next);
    if (operand == SecondOperand::Missing) {
        script.messages.emplace_back(kConditionError);
        return;
    }
    const bool isLevel = operand == SecondOperand::Value;
    appendExpanded(script.lines, isLevel ? code.value : code.chart, number);
    if (mode == MessageMode::Expanded)
        appendExpanded(script.lines, isLevel ? std::span<const std::string_view>(kMv) : kMc, number);
}

} // namespace

void ConditionCode(const conditions::Node& actionNode, const conditions::Node* nextSibling, int number,
                   MessageMode mode, GeneratedScript& script) {
    const std::string c = std::to_string(number);
    const std::string action = conditions::actionOfLine(actionNode.text);
    if (number == 1)
        appendExpanded(script.lines, kLegend, c);
    appendExpanded(script.lines, kG1, c);
    if (mode == MessageMode::Expanded)
        script.lines.push_back(fragmentHead(c, action));
    if (const ActionCode* code = findAction(action))
        appendActionLines(*code, nextSibling, c, mode, script);
    appendExpanded(script.lines, kClosing, c);
}

} // namespace zorvant::qpl
