#include "conditions/list_notation.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/cp1251.h"

#include <stdexcept>

namespace zorvant::testing {
using namespace conditions;

namespace {

void addNamedCondition(ConditionList& list, std::string_view name) {
    Node& condition = list.addTopLevel(std::string(texts::kCondition));
    Node& part = condition.addChild(std::string(texts::kPart1));
    part.addChild(fieldLine(texts::kTime, "t"));
    part.addChild(fieldLine(texts::kLine, "0"));
    part.addChild(fieldLine(texts::kChart, "PRICE"));
    part.addChild(fieldLine(texts::kInterval, "i"));
    part.addChild(std::string(texts::kPart1End));
    condition.addChild(fieldLine(texts::kAction, text::fromUtf8(name)));
    condition.addChild(std::string(texts::kConditionEnd));
}

void addOperation(ConditionList& list, std::string_view type) {
    Node& operation = list.addTopLevel(std::string(texts::kOperation));
    operation.addChild(fieldLine(texts::kType, text::fromUtf8(type)));
    operation.addChild(std::string(texts::kOperationEnd));
}

} // namespace

ConditionList listOf(std::string_view notation) {
    ConditionList list;
    for (std::size_t i = 0; i < notation.size();) {
        if (notation[i] == ' ') {
            ++i;
        } else if (notation[i] == '[') {
            const auto end = notation.find(']', i);
            addOperation(list, notation.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const auto end = std::min(notation.find(' ', i), notation.size());
            addNamedCondition(list, notation.substr(i, end - i));
            i = end;
        }
    }
    return list;
}

std::string notationOf(const ConditionList& list) {
    std::string out;
    for (const auto& node : list.topLevel()) {
        if (!out.empty())
            out += ' ';
        if (isCondition(*node))
            out += text::toUtf8(readAction(*node));
        else if (isOperation(*node))
            out += "[" + text::toUtf8(GetTagValue(node.get(), texts::kType)) + "]";
        else
            out += "{" + text::toUtf8(node->text) + "}";
    }
    return out;
}

Node& conditionNamed(const ConditionList& list, std::string_view name) {
    for (const auto& node : list.topLevel())
        if (isCondition(*node) && readAction(*node) == text::fromUtf8(name))
            return *node;
    throw std::invalid_argument("no condition " + std::string(name));
}

} // namespace zorvant::testing
