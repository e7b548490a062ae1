#pragma once
// Deleting a Condition from the list together with the joiner that went with it.
#include "conditions/condition_list.h"

#include <functional>

namespace zorvant::conditions {

// The Condition a selected node belongs to: itself or its nearest "<УСЛОВИЕ>" ancestor.
Node* owningCondition(Node& selected);

enum class DeleteOutcome { Deleted, NotACondition, InGroup };
using RemoveNode = std::function<void(Node&)>;

// Deletes the Condition of the selected node with the joiner that went with it; a Condition that opens
// or closes a group stays. remove deletes one node with its subtree.
DeleteOutcome deleteCondition(ConditionList& list, Node& selected, const RemoveNode& remove);

} // namespace zorvant::conditions
