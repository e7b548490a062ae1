#include "app/editor_form.h"
#include "conditions/list_notation.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using conditions::Node;
using testing::conditionNamed;
using testing::EditorForm;
using testing::listOf;
using testing::notationOf;

// A Shift range from one top-level node to another, anchor first, as the view reports it.
void shiftSelect(TForm1& f, Node& anchor, Node& clicked) {
    const auto& list = f.ConditionsView.items;
    const std::size_t a = list.indexAmongSiblings(anchor);
    const std::size_t b = list.indexAmongSiblings(clicked);
    f.ConditionsView.selected = &clicked;
    f.ConditionsView.selection.clear();
    for (std::size_t i = a;; i = a < b ? i + 1 : i - 1) {
        f.ConditionsView.selection.push_back(list.topLevel()[i].get());
        if (i == b)
            break;
    }
}

TEST(GroupingHandlers, GroupingTheWholeListSelectsTheClosingOperation) {
    for (const bool bottomUp : {false, true}) {
        EditorForm e;
        e.addNamed("X1");
        e.addNamed("X2", "И");
        e.addNamed("X3");
        auto& list = e.f.ConditionsView.items;
        Node& x1 = conditionNamed(list, "X1");
        Node& x3 = conditionNamed(list, "X3");
        bottomUp ? shiftSelect(e.f, x3, x1) : shiftSelect(e.f, x1, x3);
        e.f.N27Click();
        EXPECT_EQ(notationOf(list), "[(] X1 [И] X2 [ИЛИ] X3 [)]");
        EXPECT_EQ(e.f.ConditionsView.selected, list.lastTopLevel());
        EXPECT_EQ(e.f.ConditionsView.selection, std::vector<Node*>{list.lastTopLevel()});

        shiftSelect(e.f, conditionNamed(list, "X1"), conditionNamed(list, "X3"));
        e.f.N28Click();
        EXPECT_EQ(notationOf(list), "X1 [И] X2 [ИЛИ] X3") << "both bracket-only Operations go";
        EXPECT_TRUE(e.forms.dialogs.messages.empty());
    }
}

TEST(GroupingHandlers, RefusalsShowTheirTexts) {
    EditorForm e;
    e.f.ConditionsView.items = listOf("X1 [И] X2 [ИЛИ] X3");
    auto& list = e.f.ConditionsView.items;
    e.f.N27Click(); // nothing selected
    e.f.N28Click();
    e.f.ConditionsView.select(&conditionNamed(list, "X2"));
    e.f.N27Click();
    e.f.N28Click();
    shiftSelect(e.f, conditionNamed(list, "X1"), *list.topLevel()[1]);
    e.f.N27Click();
    shiftSelect(e.f, conditionNamed(list, "X1"), conditionNamed(list, "X2"));
    e.f.N28Click();
    EXPECT_EQ(e.forms.dialogs.messagesUtf8(),
              (std::vector<std::string>{"Условий должно быть несколько.", "Условий должно быть несколько.",
                                        "Группировать можно только условия",
                                        "Этот набо условий не может быть разгруппирован."}));
    EXPECT_EQ(notationOf(list), "X1 [И] X2 [ИЛИ] X3");
}

TEST(GroupingHandlers, AChangeWaitingOnAConditionSurvivesGrouping) {
    EditorForm e;
    e.f.ConditionsView.items = listOf("X1 [И] X2 [ИЛИ] X3");
    auto& list = e.f.ConditionsView.items;
    Node& x2 = conditionNamed(list, "X2");
    e.f.ConditionsView.select(&x2);
    e.f.BitBtn3Click();
    e.f.N27Click();
    EXPECT_EQ(e.forms.dialogs.messagesUtf8(), std::vector<std::string>{"Условий должно быть несколько."});

    // Even with a wider selection in the model, the Condition being changed stays selected.
    e.f.ConditionsView.selection = {&conditionNamed(list, "X1"), list.topLevel()[1].get(), &x2};
    e.f.N27Click();
    EXPECT_EQ(notationOf(list), "[(] X1 [И] X2 [) ИЛИ] X3");
    EXPECT_EQ(e.f.ConditionsView.selected, &x2);
    e.f.N28Click();
    EXPECT_EQ(notationOf(list), "X1 [И] X2 [ИЛИ] X3");
    EXPECT_TRUE(e.updateModeShown());
    e.f.action1.text = "Y2";
    e.f.Notebook.visible = false;
    e.f.LogOp.selectItem(1);
    e.f.BitBtn1Click();
    EXPECT_EQ(notationOf(list), "X1 [И] Y2 [ИЛИ] X3");
}

} // namespace
} // namespace zorvant::app
