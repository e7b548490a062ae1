#pragma once
// Grouping puts brackets around a range of Conditions: "(" into the Operation before the range and ")"
// into the one after it, with a bracket-only Operation where the range meets an end of the list.
#include "conditions/condition_list.h"
#include "conditions/deletion.h"

#include <vector>

namespace zorvant::conditions {

// The ends of a selected range of siblings and their outer neighbours (either may be absent). Only the
// first and the last selected node count, and either may be the upper one.
struct RangeEnds {
    Node* first = nullptr;
    Node* last = nullptr;
    Node* before = nullptr;
    Node* after = nullptr;
};
RangeEnds rangeEnds(const ConditionList& list, const std::vector<Node*>& selection);

enum class GroupOutcome { Done, NothingSelected, OneSelected, NotConditions, NotAGroup };

struct GroupResult {
    GroupOutcome outcome = GroupOutcome::Done;
    Node* closing = nullptr; // the Operation that took the closing bracket, if any
};

GroupResult group(ConditionList& list, const std::vector<Node*>& selection);

// Takes the leftmost "(" out of the node before the range and the leftmost ")" out of the node after
// it; a node left without tokens is deleted with remove.
GroupOutcome ungroup(ConditionList& list, const std::vector<Node*>& selection, const RemoveNode& remove);

} // namespace zorvant::conditions
