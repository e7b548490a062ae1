#pragma once
// Reading a Condition back into the editor for a change.
#include "conditions/condition_list.h"

#include <optional>
#include <string>

namespace zorvant::conditions {

// What a Condition gives back to the editor; absent parts leave their controls as they are.
struct ConditionForEdit {
    struct Part1 {
        std::string time;
        double line = 0;
        std::string chart;
        std::string interval;
    };
    struct Part2 {
        std::string time;
        std::optional<double> line;
        std::string chart;
        std::string interval;
        std::optional<double> level; // present for a value operand
    };
    std::optional<Part1> part1;
    std::optional<std::string> action;
    std::optional<Part2> part2;
};

// Reads every part of condition; stored numbers may use a point or a comma, whatever the locale (a file
// from another machine). Throws zorvant::Error for one that is no number, before anything has reached
// the editor.
ConditionForEdit readForEdit(const Node& condition, char decimalSeparator);

} // namespace zorvant::conditions
