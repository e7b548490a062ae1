#include "conditions/grouping.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "conditions/trim.h"

namespace zorvant::conditions {
using namespace texts;

namespace {

Node& bracketOperation(Node& operation, std::string_view bracket) {
    operation.addChild(fieldLine(kType, bracket));
    operation.addChild(std::string(kOperationEnd));
    operation.expanded = true;
    return operation;
}

// Writes the ТИП value without its leftmost bracket, or deletes the node when nothing is left.
void removeBracket(Node& node, std::string t, char bracket, const RemoveNode& remove) {
    t[t.find(bracket)] = ' ';
    const std::string rest = trimmed(t);
    if (rest.empty())
        remove(node);
    else
        SetTagValue(node, kType, rest);
}

} // namespace

RangeEnds rangeEnds(const ConditionList& list, const std::vector<Node*>& selection) {
    RangeEnds ends{selection.front(), selection.back()};
    if (list.indexAmongSiblings(*ends.first) > list.indexAmongSiblings(*ends.last)) {
        ends.before = list.previousSibling(*ends.last);
        ends.after = list.nextSibling(*ends.first);
    } else {
        ends.before = list.previousSibling(*ends.first);
        ends.after = list.nextSibling(*ends.last);
    }
    return ends;
}

GroupResult group(ConditionList& list, const std::vector<Node*>& selection) {
    if (selection.empty())
        return {GroupOutcome::NothingSelected};
    if (selection.size() == 1)
        return {GroupOutcome::OneSelected};
    const RangeEnds ends = rangeEnds(list, selection);
    if (!isCondition(*ends.first) || !isCondition(*ends.last))
        return {GroupOutcome::NotConditions};
    if (ends.before == nullptr) {
        bracketOperation(list.addTopLevelFront(std::string(kOperation)), "(");
    } else if (isOperation(*ends.before)) {
        SetTagValue(*ends.before, kType, trimmed(GetTagValue(ends.before, kType)) + " (");
        ends.before->expanded = true;
    }
    GroupResult result;
    if (ends.after == nullptr) {
        result.closing = &bracketOperation(list.addTopLevel(std::string(kOperation)), ")");
    } else if (isOperation(*ends.after)) {
        SetTagValue(*ends.after, kType, std::string(") ").append(trimmed(GetTagValue(ends.after, kType))));
        ends.after->expanded = true;
        result.closing = ends.after;
    }
    return result;
}

GroupOutcome ungroup(ConditionList& list, const std::vector<Node*>& selection, const RemoveNode& remove) {
    if (selection.empty())
        return GroupOutcome::NothingSelected;
    if (selection.size() == 1)
        return GroupOutcome::OneSelected;
    const RangeEnds ends = rangeEnds(list, selection);
    const std::string bt = GetTagValue(ends.before, kType);
    const std::string at = GetTagValue(ends.after, kType);
    if (bt.find('(') == std::string::npos || at.find(')') == std::string::npos)
        return GroupOutcome::NotAGroup;
    removeBracket(*ends.before, bt, '(', remove);
    removeBracket(*ends.after, at, ')', remove);
    return GroupOutcome::Done;
}

} // namespace zorvant::conditions
