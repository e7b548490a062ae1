#include "conditions/deletion.h"

#include "conditions/example_list.h"
#include "conditions/list_notation.h"

#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using testing::conditionNamed;
using testing::listOf;
using testing::notationOf;

struct Deletion {
    const char* before;
    const char* deleted;
    DeleteOutcome outcome;
    const char* after;
};

TEST(Deletion, ConditionsGoWithTheirJoinerAndGroupEdgesStay) {
    const Deletion cases[] = {
        {"X1 [И] X2 [ИЛИ] X3", "X2", DeleteOutcome::Deleted, "X1 [ИЛИ] X3"},
        {"X1 [И (] X2 [ИЛИ] X3 [)]", "X1", DeleteOutcome::Deleted, "[( ] X2 [ИЛИ] X3 [)]"},
        {"[(] X1 [ИЛИ] X2 [) И] X3 [ИЛИ] X4", "X3", DeleteOutcome::Deleted, "[(] X1 [ИЛИ] X2 [) ] [ИЛИ] X4"},
        {"X1 [И] X2 [ИЛИ] X3", "X1", DeleteOutcome::Deleted, "X2 [ИЛИ] X3"},
        {"X1 [ИЛИ] X2", "X2", DeleteOutcome::Deleted, "X1"},
        {"X1", "X1", DeleteOutcome::Deleted, ""},
        {"X1 [ИЛИ ( (] X2 [ИЛИ] X3 [) )]", "X1", DeleteOutcome::Deleted, "[( ( ] X2 [ИЛИ] X3 [) )]"},
        {"X1 [И (] X2 [ИЛИ] X3 [) И] X4", "X2", DeleteOutcome::InGroup, "X1 [И (] X2 [ИЛИ] X3 [) И] X4"},
        {"X1 [И (] X2 [ИЛИ] X3 [) И] X4", "X3", DeleteOutcome::InGroup, "X1 [И (] X2 [ИЛИ] X3 [) И] X4"},
        {"X1 [И (] X2 [ИЛИ] X3 [ИЛИ] X4 [)]", "X3", DeleteOutcome::Deleted, "X1 [И (] X2 [ИЛИ] X4 [)]"},
        {"[(] X1 [И] X2 [)]", "X1", DeleteOutcome::InGroup, "[(] X1 [И] X2 [)]"},
    };
    for (const auto& c : cases) {
        ConditionList list = listOf(c.before);
        const auto outcome =
            deleteCondition(list, conditionNamed(list, c.deleted), [&](Node& n) { list.remove(n); });
        EXPECT_EQ(outcome, c.outcome) << c.before << " without " << c.deleted;
        EXPECT_EQ(notationOf(list), c.after) << c.before << " without " << c.deleted;
    }
}

} // namespace
} // namespace zorvant::conditions
