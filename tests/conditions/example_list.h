#pragma once
// Shared data of the conditions tests: the worked example list and golden files.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::testing {

std::string cp(std::string_view utf8);
// The bytes of a file under tests/data/conditions.
std::string golden(std::string_view name);
// The tree as "level text" rows in tree order, for comparing whole trees.
std::vector<std::string> shape(const conditions::ConditionList& list);
// Two Conditions joined by AND: line 1 crossing line 2 upward on 5 minutes, and line 1 on 1 hour
// greater than 1500; read from the golden conditions file.
conditions::ConditionList exampleList();

} // namespace zorvant::testing
