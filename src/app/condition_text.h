#pragma once
// The parts of a Condition as the history preview reads them. Texts are Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>

namespace zorvant::app {

// The Condition's child with exactly that text ("<ЧАСТЬ1>", "<ЧАСТЬ2>"), or null.
const conditions::Node* partOf(const conditions::Node& condition, std::string_view partText);
// A chart operand's short name, "PRICE[0]".
std::string operandName(const conditions::Node& part);
bool isValueLevel(const conditions::Node& part);

} // namespace zorvant::app
