#pragma once
// A Condition of the list read as one line, the way the trader thinks of it:
// "PRICE[0] 5 МИН ПЕРЕСЕКАЕТ ВВЕРХ PRICE[1] 5 МИН", "PRICE[0] 1 ЧАС БОЛЬШЕ 250". Texts are Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>

namespace zorvant::app {

// The Condition's child with exactly that text ("<ЧАСТЬ1>", "<ЧАСТЬ2>"), or null.
const conditions::Node* partOf(const conditions::Node& condition, std::string_view partText);
// A chart operand's short name, "PRICE[0]".
std::string operandName(const conditions::Node& part);
bool isValueLevel(const conditions::Node& part);
std::string conditionText(const conditions::Node& condition);

} // namespace zorvant::app
