#pragma once
#include "conditions/condition_list.h"

namespace zorvant::conditions {

// Images of the tree: 1 Condition, 2 part 1, 3 action, 4 part 2, 5 Operation; -1 none. Sets the node's
// image index and returns it.
int ConditionsViewGetImageIndex(Node& node);

} // namespace zorvant::conditions
