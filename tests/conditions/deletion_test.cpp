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

TEST(Deletion, AKeptBracketLineHasOneSpaceBeforeItsClosingTag) {
    ConditionList list = listOf("[(] X1 [ИЛИ] X2 [) И] X3");
    deleteCondition(list, conditionNamed(list, "X3"), [&](Node& n) { list.remove(n); });
    EXPECT_EQ(list.topLevel()[4]->firstChild()->text, testing::cp("<ТИП>) </ТИП>"));
}

TEST(Deletion, AnyLineOfAConditionDeletesItButAnOperationIsRefused) {
    ConditionList list = listOf("X1 [И] X2");
    Node* field = conditionNamed(list, "X2").firstChild()->firstChild();
    std::vector<std::string> removed;
    const auto remove = [&](Node& n) {
        removed.push_back(n.text);
        list.remove(n);
    };
    Node& operation = *list.topLevel()[1];
    EXPECT_EQ(deleteCondition(list, operation, remove), DeleteOutcome::NotACondition);
    EXPECT_EQ(deleteCondition(list, *operation.firstChild(), remove), DeleteOutcome::NotACondition);
    EXPECT_TRUE(removed.empty());
    EXPECT_EQ(deleteCondition(list, *field, remove), DeleteOutcome::Deleted);
    EXPECT_EQ(notationOf(list), "X1");
    EXPECT_EQ(removed.size(), 2u); // every deletion goes through the caller, which tracks the selection
}

} // namespace
} // namespace zorvant::conditions
