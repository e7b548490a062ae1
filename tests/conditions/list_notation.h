#pragma once
// A short notation for the top level of a list: Conditions by name and Operations by their ТИП value
// in square brackets, as in "X1 [И (] X2 [ИЛИ] X3 [)]". Notation texts are UTF-8.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>

namespace zorvant::testing {

// Each Condition is a complete one-operand Condition whose action is its name.
conditions::ConditionList listOf(std::string_view notation);
std::string notationOf(const conditions::ConditionList& list);
conditions::Node& conditionNamed(const conditions::ConditionList& list, std::string_view name);

} // namespace zorvant::testing
