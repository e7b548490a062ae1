#pragma once
// The condition editor writing to the list: add a Condition, or write one back after a change. Texts
// are Windows-1251; numbers use the general number format with the given decimal separator.
#include "conditions/condition_list.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorvant::conditions {

struct ChartOperand {
    std::string time;
    int line = 0;
    std::string chart;
    std::string interval;
};

enum class SecondOperand { None, Chart, Value };

// The editor's values at the moment a Condition is written.
struct ConditionValues {
    ChartOperand part1;
    std::string action;
    SecondOperand operand = SecondOperand::Chart;
    ChartOperand part2; // written for a chart operand
    double level = 0;   // written for a value operand
};

// The joiner typed into the joiner box, read as "И" or "ИЛИ" whatever its case and the blanks around it;
// nothing for any other text.
std::optional<std::string_view> joinerOf(std::string_view typed);

// Appends an Operation holding joiner when the list does not already end with one (an Operation that
// closes a group takes the joiner instead), then the new Condition, which it returns.
Node& addCondition(ConditionList& list, const ConditionValues& values, std::string_view joiner,
                   char decimalSeparator);

// Rewrites the subtree of condition in place and puts joiner into the Operation just before it.
void writeBackCondition(ConditionList& list, Node& condition, const ConditionValues& values,
                        std::string_view joiner, char decimalSeparator);

} // namespace zorvant::conditions
