#include "conditions/editor.h"

#include "conditions/conditions_file.h"
#include "conditions/edit_loading.h"
#include "conditions/example_list.h"
#include "conditions/list_notation.h"
#include "conditions/node_texts.h"
#include "conditions/summary.h"
#include "conditions/tags.h"
#include "text/error.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using testing::conditionNamed;
using testing::cp;
using testing::listOf;
using testing::notationOf;

ConditionValues aboveLevel(double level) {
    return {{cp("ТЕКУЩЕЕ ЗНАЧЕНИЕ"), 1, "PRICE", cp("1 ЧАС")},
            cp("БОЛЬШЕ"),
            SecondOperand::Value,
            {"ignored", 7, "ignored", "ignored"},
            level};
}

ConditionValues named(std::string_view action) {
    return {{"t", 0, "PRICE", "i"}, cp(action), SecondOperand::None, {"ignored", 7, "ignored", "ignored"}, 0};
}

TEST(Editor, NumbersFollowTheDecimalSeparatorAndOneOperandActionsHaveNoPart2) {
    ConditionList list;
    Node& comma = addCondition(list, aboveLevel(1500.5), "", ',');
    EXPECT_EQ(GetTagValue(comma.child(2), texts::kValue), "1500,5");
    EXPECT_EQ(comma.child(2)->childCount(), 2u);
    ConditionList dotted;
    EXPECT_EQ(GetTagValue(addCondition(dotted, aboveLevel(0.25), "", '.').child(2), texts::kValue), "0.25");
    ConditionList single;
    Node& turns = addCondition(single, named("РАЗВОРАЧИВАЕТСЯ ВВЕРХ"), "", ',');
    ASSERT_EQ(turns.childCount(), 3u);
    EXPECT_EQ(turns.child(2)->text, texts::kConditionEnd);
}

TEST(Editor, AddingAfterAnOperationPutsTheJoinerIntoIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"X1 [)]", "X1 [) ИЛИ] X9"},       {"X1 [ ) ) ]", "X1 [) ) ИЛИ] X9"},
        {"X1 [) И (]", "X1 [) ИЛИ (] X9"}, {"X1 [(]", "X1 [(] X9"},
        {"X1 [ИЛИ]", "X1 [ИЛИ] X9"},       {"X1 [И]", "X1 [ИЛИ] X9"},
        {"X1 [)И(]", "X1 [) ИЛИ (] X9"},   {"X1", "X1 [ИЛИ] X9"},
    };
    for (const auto& [before, after] : cases) {
        ConditionList list = listOf(before);
        addCondition(list, named("X9"), cp("ИЛИ"), ',');
        EXPECT_EQ(notationOf(list), after) << before;
    }
}

TEST(Editor, WritingBackChangesTheJoinerBeforeTheConditionOnly) {
    ConditionList list = listOf("X1 [ИЛИ] X2 [ИЛИ] X3");
    writeBackCondition(list, conditionNamed(list, "X2"), named("Y2"), cp("И"), ',');
    EXPECT_EQ(notationOf(list), "X1 [И] Y2 [ИЛИ] X3");
    writeBackCondition(list, conditionNamed(list, "X1"), named("Y1"), cp("И"), ',');
    EXPECT_EQ(notationOf(list), "Y1 [И] Y2 [ИЛИ] X3");

    ConditionList grouped = listOf("[(] X1 [) И (] X2 [)]");
    writeBackCondition(grouped, conditionNamed(grouped, "X1"), named("Y1"), cp("И"), ',');
    writeBackCondition(grouped, conditionNamed(grouped, "X2"), named("Y2"), cp("ИЛИ"), ',');
    EXPECT_EQ(notationOf(grouped), "[(] Y1 [) ИЛИ (] Y2 [)]");
}

TEST(Summary, ACollapsedNodeReadsAsOneLine) {
    const ConditionList list = testing::exampleList();
    const auto& top = list.topLevel();
    EXPECT_EQ(summaryLabel(*top[0], 1), cp("<УСЛОВИЕ>  1: PRICE[1] 5 МИН ПЕРЕСЕКАЕТ ВВЕРХ PRICE[2] 5 МИН"));
    EXPECT_EQ(summaryLabel(*top[1], 1), cp("<ОПЕРАЦИЯ>  И"));
    EXPECT_EQ(summaryLabel(*top[2], 2), cp("<УСЛОВИЕ>  2: PRICE[1] 1 ЧАС БОЛЬШЕ 1500"));
    EXPECT_EQ(summaryLabel(*top[2]->firstChild(), 2), cp("<ЧАСТЬ1>"));
}

} // namespace
} // namespace zorvant::conditions
