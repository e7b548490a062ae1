#include "conditions/condition_list.h"

#include "conditions/image_index.h"
#include "conditions/node_texts.h"

#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using namespace text::literals;

// <УСЛОВИЕ>(<ЧАСТЬ1>(a, </ЧАСТЬ1>), </УСЛОВИЕ>), <ОПЕРАЦИЯ>(t, </ОПЕРАЦИЯ>), <УСЛОВИЕ>
ConditionList smallList() {
    ConditionList list;
    Node& condition = list.addTopLevel(std::string(texts::kCondition));
    Node& part = condition.addChild(std::string(texts::kPart1));
    part.addChild("a");
    part.addChild(std::string(texts::kPart1End));
    condition.addChild(std::string(texts::kConditionEnd));
    Node& operation = list.addTopLevel(std::string(texts::kOperation));
    operation.addChild("t");
    operation.addChild(std::string(texts::kOperationEnd));
    list.addTopLevel(std::string(texts::kCondition));
    return list;
}

TEST(ConditionList, WalksInTreeOrderWithLevels) {
    const ConditionList list = smallList();
    ASSERT_EQ(list.nodeCount(), 9u);
    std::vector<std::pair<std::string, int>> seen;
    list.forEachInTreeOrder([&](Node& node) { seen.emplace_back(node.text, node.level()); });
    EXPECT_EQ(seen[2], (std::pair<std::string, int>{"a", 2}));
    EXPECT_EQ(seen[5].first, texts::kOperation);
    EXPECT_EQ(list.nodeAt(6)->text, "t");
    EXPECT_EQ(list.nodeAt(9), nullptr);
}

TEST(ConditionList, SiblingsAndAncestors) {
    ConditionList list = smallList();
    Node& first = *list.topLevel()[0];
    Node& operation = *list.topLevel()[1];
    EXPECT_TRUE(list.isFirstTopLevel(first));
    EXPECT_FALSE(list.isFirstTopLevel(operation));
    EXPECT_EQ(list.nextSibling(first), &operation);
    EXPECT_EQ(list.previousSibling(first), nullptr);
    EXPECT_EQ(list.indexAmongSiblings(operation), 1u);
    Node& leaf = *first.firstChild()->firstChild();
    EXPECT_EQ(&ConditionList::topLevelAncestor(leaf), &first);
    EXPECT_TRUE(ConditionList::isWithin(leaf, first));
    EXPECT_FALSE(ConditionList::isWithin(leaf, operation));
    EXPECT_EQ(list.lastTopLevel(), list.topLevel()[2].get());
}

TEST(ConditionList, AddsInsertsAndRemovesSubtrees) {
    ConditionList list = smallList();
    list.addTopLevelFront("front");
    EXPECT_EQ(list.topLevel()[0]->text, "front");
    list.insertAfter(*list.topLevel()[0], "second");
    EXPECT_EQ(list.topLevel()[1]->text, "second");
    list.remove(*list.topLevel()[2]); // the first Condition with its four descendants
    EXPECT_EQ(list.nodeCount(), 6u);
    list.clear();
    EXPECT_TRUE(list.empty());
}

TEST(ImageIndex, FollowsTheNodeTextAndItsParent) {
    ConditionList list;
    Node& condition = list.addTopLevel(std::string(texts::kCondition));
    Node& part1 = condition.addChild(std::string(texts::kPart1));
    Node& field1 = part1.addChild(std::string("<ЛИНИЯ>1</ЛИНИЯ>"_cp));
    Node& part1End = part1.addChild(std::string(texts::kPart1End));
    Node& action = condition.addChild(std::string("<ДЕЙСТВИЕ>БОЛЬШЕ</ДЕЙСТВИЕ>"_cp));
    Node& part2 = condition.addChild(std::string(texts::kPart2));
    Node& field2 = part2.addChild(std::string("<ЗНАЧЕНИЕ>1</ЗНАЧЕНИЕ>"_cp));
    Node& end = condition.addChild(std::string(texts::kConditionEnd));
    Node& operation = list.addTopLevel(std::string(texts::kOperation));
    Node& type = operation.addChild(std::string("<ТИП>И</ТИП>"_cp));
    Node& other = list.addTopLevel(std::string("<ЧТО-ТО>"_cp));
    Node& topAction = list.addTopLevel(std::string("x<ДЕЙСТВИЕ>"_cp));

    const std::pair<Node*, int> expected[] = {
        {&condition, 1}, {&part1, 2}, {&field1, 2},    {&part1End, 2}, {&action, 3}, {&part2, 4},
        {&field2, 4},    {&end, 1},   {&operation, 5}, {&type, 5},     {&other, -1}, {&topAction, 3},
    };
    for (const auto& [node, image] : expected) {
        EXPECT_EQ(ConditionsViewGetImageIndex(*node), image) << text::toUtf8(node->text);
        EXPECT_EQ(node->imageIndex, image);
    }
}

} // namespace
} // namespace zorvant::conditions
