#include "app/condition_text.h"

#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/cp1251.h"

#include <vector>

namespace zorvant::app {
using namespace text::literals;
namespace texts = conditions::texts;
using conditions::GetTagValue;
using conditions::Node;

namespace {

std::string joinedWords(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

std::string operandText(const Node& part) {
    if (isValueLevel(part))
        return GetTagValue(&part, texts::kValue);
    const bool previous = GetTagValue(&part, texts::kTime) == conditions::labels::kPreviousValue;
    return joinedWords({operandName(part), GetTagValue(&part, texts::kInterval),
                        previous ? std::string("(ПРЕДЫДУЩЕЕ)"_cp) : std::string()});
}

} // namespace

const Node* partOf(const Node& condition, std::string_view partText) {
    for (const auto& child : condition.children())
        if (child->text == partText)
            return child.get();
    return nullptr;
}

std::string operandName(const Node& part) {
    return GetTagValue(&part, texts::kChart) + "[" + GetTagValue(&part, texts::kLine) + "]";
}

bool isValueLevel(const Node& part) {
    return !GetTagValue(&part, texts::kValue).empty();
}

std::string conditionText(const Node& condition) {
    const Node* first = partOf(condition, texts::kPart1);
    const Node* second = partOf(condition, texts::kPart2);
    return joinedWords({first != nullptr ? operandText(*first) : std::string(),
                        conditions::readAction(condition),
                        second != nullptr ? operandText(*second) : std::string()});
}

} // namespace zorvant::app
