#include "conditions/tags.h"

#include "conditions/node_texts.h"

namespace zorvant::conditions {
namespace {

std::string openTag(std::string_view tag) {
    return std::string("<").append(tag).append(">");
}

// Value from a fixed offset to just before the first "</"; empty without one.
std::string valueFrom(std::string_view text, std::size_t offset) {
    if (offset > text.size())
        return {};
    const std::string_view rest = text.substr(offset);
    const auto close = rest.find("</");
    return close == std::string_view::npos ? std::string() : std::string(rest.substr(0, close));
}

Node* firstFieldLine(const Node* node, const std::string& open) {
    const auto& children = node->children();
    for (std::size_t i = 0; i + 1 < children.size(); ++i)
        if (children[i]->text.find(open) != std::string::npos)
            return children[i].get();
    return nullptr;
}

} // namespace

std::string GetTagValue(const Node* node, std::string_view tag) {
    if (node == nullptr)
        return {};
    const std::string open = openTag(tag);
    const Node* line = firstFieldLine(node, open);
    return line == nullptr ? std::string() : valueFrom(line->text, open.size());
}

void SetTagValue(Node& node, std::string_view tag, std::string_view value) {
    if (Node* line = firstFieldLine(&node, openTag(tag)))
        line->text = fieldLine(tag, value);
}

std::string fieldLine(std::string_view tag, std::string_view value) {
    return openTag(tag).append(value).append("</").append(tag).append(">");
}

std::string actionOfLine(std::string_view actionLineText) {
    return valueFrom(actionLineText, std::string_view(texts::kActionOpen).size());
}

std::string readAction(const Node& condition) {
    for (const auto& child : condition.children())
        if (child->text.find(texts::kActionOpen) != std::string::npos)
            return actionOfLine(child->text);
    return {};
}

bool isCondition(const Node& node) {
    return node.text == texts::kCondition;
}
bool isOperation(const Node& node) {
    return node.text == texts::kOperation;
}

} // namespace zorvant::conditions
