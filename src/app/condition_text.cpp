#include "app/condition_text.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"

namespace zorvant::app {
namespace texts = conditions::texts;
using conditions::GetTagValue;
using conditions::Node;

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

} // namespace zorvant::app
