#pragma once
// The lines each of the fifteen actions adds after part 1's candle: test lines, each followed by the
// hit lines, and the fetches they need.
#include "qpl/line_groups.h"

#include <string_view>

namespace zorvant::qpl {

struct ActionCode {
    std::string_view action;
    // Lines of an action on part 1 alone; empty for the actions that need a second operand.
    Templates alone;
    // Lines against a second operand that is a chart line, and against a value level.
    Templates chart;
    Templates value;

    bool needsSecondOperand() const { return alone.empty(); }
};

// The action of that exact text (whole text, case-sensitive), or null.
const ActionCode* findAction(std::string_view action);

} // namespace zorvant::qpl
