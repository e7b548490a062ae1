#include "conditions/grouping.h"

#include "conditions/list_notation.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using testing::conditionNamed;
using testing::listOf;
using testing::notationOf;

RemoveNode removeFrom(ConditionList& list) {
    return [&list](Node& node) { list.remove(node); };
}

// The top-level nodes from one named Condition to another, in the order a Shift range reports them.
std::vector<Node*> range(const ConditionList& list, std::string_view from, std::string_view to) {
    const std::size_t a = list.indexAmongSiblings(conditionNamed(list, from));
    const std::size_t b = list.indexAmongSiblings(conditionNamed(list, to));
    std::vector<Node*> nodes;
    for (std::size_t i = std::min(a, b); i <= std::max(a, b); ++i)
        nodes.push_back(list.topLevel()[i].get());
    if (a > b)
        std::reverse(nodes.begin(), nodes.end());
    return nodes;
}

struct WorkedExample {
    const char* before;
    const char* from;
    const char* to;
    bool grouping;
    const char* after;
};

// The worked examples of grouping and ungrouping, each run with the range chosen top-down and
// bottom-up.
TEST(Grouping, WorkedExamplesGiveTheirTypeValuesWhicheverEndComesFirst) {
    const WorkedExample examples[] = {
        {"X1 [И] X2 [ИЛИ] X3", "X1", "X2", true, "[(] X1 [И] X2 [) ИЛИ] X3"},
        {"X1 [И] X2 [ИЛИ] X3", "X2", "X3", true, "X1 [И (] X2 [ИЛИ] X3 [)]"},
        {"X1 [И] X2 [ИЛИ] X3", "X1", "X3", true, "[(] X1 [И] X2 [ИЛИ] X3 [)]"},
        {"[(] X1 [И] X2 [) ИЛИ] X3", "X1", "X2", false, "X1 [И] X2 [ИЛИ] X3"},
        {"X1 [И (] X2 [ИЛИ] X3 [) ИЛИ] X4", "X2", "X3", false, "X1 [И] X2 [ИЛИ] X3 [ИЛИ] X4"},
        {"[(] X1 [И] X2 [) И] X3 [ИЛИ] X4", "X3", "X4", true, "[(] X1 [И] X2 [) И (] X3 [ИЛИ] X4 [)]"},
        {"[(] X1 [И] X2 [) ИЛИ] X3", "X1", "X2", true, "[( (] X1 [И] X2 [) ) ИЛИ] X3"},
        {"[(] X1 [И] X2 [)]", "X1", "X2", false, "X1 [И] X2"},
    };
    for (const auto& example : examples) {
        for (const bool bottomUp : {false, true}) {
            ConditionList list = listOf(example.before);
            const auto selection =
                bottomUp ? range(list, example.to, example.from) : range(list, example.from, example.to);
            if (example.grouping)
                EXPECT_EQ(group(list, selection).outcome, GroupOutcome::Done);
            else
                EXPECT_EQ(ungroup(list, selection, removeFrom(list)), GroupOutcome::Done);
            EXPECT_EQ(notationOf(list), example.after) << example.before << (bottomUp ? " bottom-up" : "");
        }
    }
}

TEST(Grouping, GroupingTwiceAndUngroupingTwiceRestoresUpToSpacing) {
    ConditionList list = listOf("X1 [И] X2 [ИЛИ] X3 [ИЛИ] X4");
    group(list, range(list, "X2", "X3"));
    group(list, range(list, "X2", "X3"));
    EXPECT_EQ(notationOf(list), "X1 [И ( (] X2 [ИЛИ] X3 [) ) ИЛИ] X4");
    ungroup(list, range(list, "X2", "X3"), removeFrom(list));
    EXPECT_EQ(notationOf(list), "X1 [И   (] X2 [ИЛИ] X3 [) ИЛИ] X4");
    ungroup(list, range(list, "X3", "X2"), removeFrom(list));
    EXPECT_EQ(notationOf(list), "X1 [И] X2 [ИЛИ] X3 [ИЛИ] X4");
}

TEST(Grouping, OnlyTheEndsOfTheRangeAreLookedAt) {
    ConditionList list = listOf("X1 [И] X2 [ИЛИ] X3");
    // A view that reports the ends alone still brackets the whole range.
    EXPECT_EQ(group(list, {&conditionNamed(list, "X3"), &conditionNamed(list, "X1")}).outcome,
              GroupOutcome::Done);
    EXPECT_EQ(notationOf(list), "[(] X1 [И] X2 [ИЛИ] X3 [)]");
}

} // namespace
} // namespace zorvant::conditions
