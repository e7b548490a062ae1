#include "conditions/editor.h"

#include "conditions/joiner_tokens.h"
#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "conditions/trim.h"
#include "text/number_format.h"

namespace zorvant::conditions {
using namespace texts;

namespace {

// Every joiner of t replaced by joiner, brackets kept, tokens separated by single spaces.
std::string rejoined(std::string_view t, std::string_view joiner) {
    std::string r;
    for (const PlacedToken& token : tokenizeJoiners(t)) {
        if (token.kind == JoinerToken::Open)
            r += " (";
        else if (token.kind == JoinerToken::Close)
            r += " )";
        else
            r.append(" ").append(joiner);
    }
    return trimmed(r);
}

// Puts joiner into an existing Operation: it replaces the joiners there, or follows a lone ")".
void joinInto(Node& operation, std::string_view joiner) {
    const std::string t = GetTagValue(&operation, kType);
    if (t.find(labels::kAnd) != std::string::npos)
        SetTagValue(operation, kType, rejoined(t, joiner));
    else if (t.find(')') != std::string::npos)
        SetTagValue(operation, kType, trimmed(t).append(" ").append(joiner));
    operation.expanded = true;
}

void addChartFields(Node& part, const ChartOperand& operand, char separator) {
    part.addChild(fieldLine(kTime, operand.time));
    part.addChild(fieldLine(kLine, text::formatGeneral(operand.line, separator)));
    part.addChild(fieldLine(kChart, operand.chart));
    part.addChild(fieldLine(kInterval, operand.interval));
}

void fillCondition(Node& condition, const ConditionValues& values, char separator) {
    Node& part1 = condition.addChild(std::string(kPart1));
    addChartFields(part1, values.part1, separator);
    part1.addChild(std::string(kPart1End));
    part1.expanded = true;
    condition.addChild(fieldLine(kAction, values.action));
    if (values.operand != SecondOperand::None) {
        Node& part2 = condition.addChild(std::string(kPart2));
        if (values.operand == SecondOperand::Chart)
            addChartFields(part2, values.part2, separator);
        else
            part2.addChild(fieldLine(kValue, text::formatGeneral(values.level, separator)));
        part2.addChild(std::string(kPart2End));
        part2.expanded = true;
    }
    condition.addChild(std::string(kConditionEnd));
    condition.expanded = true;
}

// Windows-1251 upper case of Latin and Cyrillic letters.
char upperLetter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0)
        return static_cast<char>(byte - 0x20);
    return c;
}

} // namespace

std::optional<std::string_view> joinerOf(std::string_view typed) {
    std::string folded = trimmed(typed);
    for (char& c : folded)
        c = upperLetter(c);
    for (const std::string_view joiner : labels::kJoiners)
        if (folded == joiner)
            return joiner;
    return std::nullopt;
}

Node& addCondition(ConditionList& list, const ConditionValues& values, std::string_view joiner,
                   char decimalSeparator) {
    if (Node* anchor = list.lastTopLevel()) {
        if (isOperation(*anchor)) {
            joinInto(*anchor, joiner);
        } else {
            Node& operation = list.addTopLevel(std::string(kOperation));
            operation.addChild(fieldLine(kType, joiner));
            operation.addChild(std::string(kOperationEnd));
            operation.expanded = true;
        }
    }
    Node& condition = list.addTopLevel(std::string(kCondition));
    fillCondition(condition, values, decimalSeparator);
    return condition;
}

void writeBackCondition(ConditionList& list, Node& condition, const ConditionValues& values,
                        std::string_view joiner, char decimalSeparator) {
    if (Node* anchor = list.previousSibling(condition); anchor != nullptr && isOperation(*anchor))
        joinInto(*anchor, joiner);
    condition.clearChildren();
    fillCondition(condition, values, decimalSeparator);
}

} // namespace zorvant::conditions
