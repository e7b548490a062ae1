#include "qpl/action_table.h"

#include "conditions/labels.h"

#include <vector>

namespace zorvant::qpl {
namespace {
namespace labels = conditions::labels;

std::array<std::string_view, 3> test(std::string_view line) {
    return {line, kHit[0], kHit[1]};
}

// The spacing inside the test lines differs from action to action and is part of the script's text.
std::vector<ActionCode> buildTable() {
    const auto turn = [](std::string_view testLine) { return join(kP12, kP13, kSkip, test(testLine)); };
    return {
        {labels::kRisingCandle, join(kO1, test("if (close_shedule_{C}1_1 > open_shedule_{C}1_1)")), {}, {}},
        {labels::kFallingCandle, join(kO1, test("if (close_shedule_{C}1_1 < open_shedule_{C}1_1)")), {}, {}},
        {labels::kAbovePrevious,
         join(kP12, test("if (close_shedule_{C}1_1 > close_shedule_{C}1_2)")),
         {},
         {}},
        {labels::kBelowPrevious,
         join(kP12, test("if (close_shedule_{C}1_1 < close_shedule_{C}1_2)")),
         {},
         {}},
        {labels::kTurnsUp,
         turn("if (close_shedule_{C}1_1 > close_shedule_{C}1_2) and (close_shedule_{C}1_2 < "
              "close_shedule_{C}1_3)"),
         {},
         {}},
        {labels::kTurnsDown,
         turn("if (close_shedule_{C}1_1 < close_shedule_{C}1_2) and (close_shedule_{C}1_2 > "
              "close_shedule_{C}1_3)"),
         {},
         {}},
        {labels::kTurns,
         turn("if ((close_shedule_{C}1_1 < close_shedule_{C}1_2) and (close_shedule_{C}1_2 > "
              "close_shedule_{C}1_3)) "
              "or ((close_shedule_{C}1_1 >= close_shedule_{C}1_2) and (close_shedule_{C}1_2 < "
              "close_shedule_{C}1_3))"),
         {},
         {}},
        {labels::kCrosses,
         {},
         join(kH1, kL1, kQ1, kG2, kP22,
              test("if (low_shedule_{C}1_1<=close_shedule_{C}2_1) and (close_shedule_{C}1_2 > "
                   "close_shedule_{C}2_2)"),
              test("if (high_shedule_{C}1_1>=close_shedule_{C}2_1) and (close_shedule_{C}1_2 < "
                   "close_shedule_{C}2_2)")),
         join(kH1, kL1, kQ1,
              test("if (high_shedule_{C}1_1 >= value{C}2) and (low_shedule_{C}1_1 <= value{C}2)"),
              test("if (high_shedule_{C}1_1>=value{C}2) and (close_shedule_{C}1_2<value{C}2)"),
              test("if (low_shedule_{C}1_1<=value{C}2) and (close_shedule_{C}1_2>value{C}2)"))},
        {labels::kCrossesUp,
         {},
         join(kO1, kQ1, kG2, kP22,
              test("if ((close_shedule_{C}1_1>=close_shedule_{C}2_1) and (close_shedule_{C}1_2 < "
                   "close_shedule_{C}2_2)) "
                   "or ((open_shedule_{C}1_1<close_shedule_{C}1_1) and "
                   "(open_shedule_{C}1_1<close_shedule_{C}2_1) "
                   "and (close_shedule_{C}1_1>=close_shedule_{C}2_1))")),
         join(kH1, kL1, kQ1,
              test("if (high_shedule_{C}1_1>=value{C}2) and (close_shedule_{C}1_2<value{C}2)"))},
        {labels::kCrossesDown,
         {},
         join(kO1, kQ1, kG2, kP22,
              test("if ((close_shedule_{C}1_1<=close_shedule_{C}2_1) and (close_shedule_{C}1_2 > "
                   "close_shedule_{C}2_2)) "
                   "or ((open_shedule_{C}1_1 > close_shedule_{C}1_1) and (open_shedule_{C}1_1 > "
                   "close_shedule_{C}2_1) "
                   "and (close_shedule_{C}1_1<=close_shedule_{C}2_1))")),
         join(kL1, kQ1, test("if (low_shedule_{C}1_1<=value{C}2) and (close_shedule_{C}1_2>value{C}2)"))},
        {labels::kGreater,
         {},
         join(kG2, test("if (close_shedule_{C}1_1>close_shedule_{C}2_1)")),
         join(test("if (close_shedule_{C}1_1 > value{C}2)"))},
        {labels::kGreaterOrEqual,
         {},
         join(kG2, test("if (close_shedule_{C}1_1>=close_shedule_{C}2_1)")),
         join(test("if (close_shedule_{C}1_1 >= value{C}2)"))},
        {labels::kLess,
         {},
         join(kG2, test("if (close_shedule_{C}1_1 < close_shedule_{C}2_1)")),
         join(test("if (close_shedule_{C}1_1 < value{C}2)"))},
        {labels::kLessOrEqual,
         {},
         join(kG2, test("if (close_shedule_{C}1_1 <= close_shedule_{C}2_1)")),
         join(test("if (close_shedule_{C}1_1 <= value{C}2)"))},
        {labels::kEqual,
         {},
         join(kG2, test("if (close_shedule_{C}1_1 = close_shedule_{C}2_1)")),
         join(test("if (close_shedule_{C}1_1 = value{C}2)"))},
    };
}

} // namespace

const ActionCode* findAction(std::string_view action) {
    static const std::vector<ActionCode> table = buildTable();
    for (const auto& code : table)
        if (code.action == action)
            return &code;
    return nullptr;
}

} // namespace zorvant::qpl
