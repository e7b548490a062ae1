#include "conditions/deletion.h"

#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "conditions/trim.h"

namespace zorvant::conditions {
using namespace texts;

namespace {

// The brackets of an Operation with its joiner letters blanked out.
std::string bracketsOnly(std::string t) {
    for (char& c : t)
        if (std::string_view(&c, 1) == labels::kAnd || std::string_view(&c, 1) == "Л"_cp)
            c = ' ';
    return trimmed(t);
}

// Takes the joiner out of the Operation beside a deleted Condition; brackets it holds stay, and one
// that holds nothing else goes.
void dropJoiner(Node& operation, const std::string& t, char keptBracket, const RemoveNode& remove) {
    if (t.find(keptBracket) == std::string::npos) {
        remove(operation);
        return;
    }
    const std::string rest = bracketsOnly(t);
    if (rest.empty())
        remove(operation);
    else
        operation.firstChild()->text = fieldLine(kType, rest + ' ');
}

} // namespace

Node* owningCondition(Node& selected) {
    for (Node* node = &selected; node != nullptr; node = node->parent())
        if (isCondition(*node))
            return node;
    return nullptr;
}

DeleteOutcome deleteCondition(ConditionList& list, Node& selected, const RemoveNode& remove) {
    Node* condition = owningCondition(selected);
    if (condition == nullptr)
        return DeleteOutcome::NotACondition;
    Node* prev = list.previousSibling(*condition);
    Node* next = list.nextSibling(*condition);
    const std::string pt = GetTagValue(prev, kType);
    const std::string nt = GetTagValue(next, kType);
    if (pt.find('(') != std::string::npos || nt.find(')') != std::string::npos)
        return DeleteOutcome::InGroup;
    if (list.isFirstTopLevel(*condition)) {
        if (!nt.empty())
            dropJoiner(*next, nt, '(', remove);
    } else if (!pt.empty()) {
        dropJoiner(*prev, pt, ')', remove);
    }
    remove(*condition);
    return DeleteOutcome::Deleted;
}

} // namespace zorvant::conditions
