#pragma once
// The one-line reading of a top-level node that the condition tree shows beside its text, so that a
// collapsed Condition still says what it tests. Display only: nothing stores or reads it back.
#include "conditions/condition_list.h"

#include <string>

namespace zorvant::conditions {

// For a Condition, its text, its number and a summary of its parts and action, such as
// "<УСЛОВИЕ>  1: PRICE[0] 5 МИН ПЕРЕСЕКАЕТ ВВЕРХ PRICE[1] 5 МИН"; for an Operation, its text and its ТИП
// value; for any other node, its text alone.
std::string summaryLabel(const Node& node, int conditionNumber);
// A Condition's parts and action read as one line: "PRICE[0] 5 МИН ПЕРЕСЕКАЕТ ВВЕРХ PRICE[1] 5 МИН".
std::string conditionSummary(const Node& condition);

} // namespace zorvant::conditions
