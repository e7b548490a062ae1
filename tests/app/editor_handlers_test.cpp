#include "app/editor_form.h"
#include "conditions/conditions_file.h"
#include "conditions/example_list.h"
#include "conditions/list_notation.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/error.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using conditions::Node;
using testing::conditionNamed;
using testing::cp;
using testing::EditorForm;
using testing::listOf;
using testing::notationOf;

// The worked example list, entered control by control.
void enterExample(EditorForm& e) {
    TForm1& f = e.f;
    f.Line_1.value = 1;
    e.chooseAction("ПЕРЕСЕКАЕТ ВВЕРХ");
    f.Line_2.value = 2;
    f.schedule2.text = "PRICE";
    f.BitBtn1Click();
    f.period1.selectItem(10);
    e.chooseAction("БОЛЬШЕ");
    f.TabSet1Change(1);
    f.level2.text = "1500";
    f.LogOp.selectItem(1);
    f.BitBtn1Click();
}

TEST(EditorHandlers, TheExampleEnteredInTheEditorSavesAsTheGoldenFile) {
    EditorForm e;
    EXPECT_EQ(e.f.schedule1.text, "PRICE");
    EXPECT_EQ(e.f.Line_1.value, 0);
    enterExample(e);
    EXPECT_FALSE(e.updateModeShown());
    e.forms.dialogs.fileAnswers.push_back(e.folder.file("example.con"));
    e.f.N3Click();
    EXPECT_EQ(e.folder.read("example.con"), testing::golden("example.con"));
    e.f.ConditionsView.items.forEachInTreeOrder([](const Node& node) {
        if (!node.children().empty()) {
            EXPECT_TRUE(node.expanded) << node.text;
        }
    });
}

TEST(EditorHandlers, TheActionDecidesWhetherASecondOperandIsShownAndStored) {
    EditorForm e;
    for (const char* single :
         {"РАЗВОРАЧИВАЕТСЯ", "РАЗВОРАЧИВАЕТСЯ ВВЕРХ", "РАЗВОРАЧИВАЕТСЯ ВНИЗ", "СВЕЧА РОСТА (CLOSE>OPEN)",
          "СВЕЧА ПАДЕНИЯ (CLOSE<OPEN)", "БОЛЬШЕ ПРЕДЫДУЩЕГО", "МЕНЬШЕ ПРЕДЫДУЩЕГО"}) {
        e.f.TabSet1Change(1);
        e.chooseAction(single);
        EXPECT_FALSE(e.f.Notebook.visible || e.f.TabSet1.visible) << single;
        EXPECT_EQ(e.f.Notebook.pageIndex, 1) << "the page stays as it was";
    }
    e.f.BitBtn1Click();
    EXPECT_EQ(e.f.ConditionsView.items.topLevel()[0]->childCount(), 3u); // no "<ЧАСТЬ2>"

    e.chooseAction("Пересекает"); // typed, so no one-operand label
    EXPECT_TRUE(e.f.Notebook.visible && e.f.TabSet1.visible);
    e.f.TabSet1Change(0);
    e.f.BitBtn1Click();
    const Node& typed = *e.f.ConditionsView.items.lastTopLevel();
    ASSERT_EQ(typed.childCount(), 4u);
    EXPECT_EQ(typed.child(2)->text, conditions::texts::kPart2);
    EXPECT_EQ(typed.child(2)->childCount(), 5u); // the chart operand
}

TEST(EditorHandlers, EditingLoadsTheConditionAndWritingBackTakesTheJoiner) {
    EditorForm e;
    enterExample(e);
    TForm1& f = e.f;
    f.LogOp.selectItem(0);
    f.Line_1.value = 7;
    e.click(*f.ConditionsView.items.lastTopLevel()->child(2)->child(0)); // the level line
    f.BitBtn3Click();
    EXPECT_TRUE(e.updateModeShown());
    EXPECT_EQ(f.ConditionsView.selected, f.ConditionsView.items.lastTopLevel());
    EXPECT_EQ(f.Line_1.value, 1);
    EXPECT_EQ(f.period1.text, cp("1 ЧАС"));
    EXPECT_EQ(f.period1.itemIndex, 10);
    EXPECT_EQ(f.action1.text, cp("БОЛЬШЕ"));
    EXPECT_EQ(f.level2.text, "1500");
    EXPECT_EQ(f.ActiveControl, "Time1") << "the change starts at the first field, not the joiner";
    EXPECT_EQ(f.Notebook.pageIndex, 1);
    EXPECT_EQ(f.TabSet1.tabIndex, 1);
    EXPECT_EQ(f.schedule2.text, "");
    EXPECT_EQ(f.LogOp.text, cp("ИЛИ")) << "the joiner is not loaded";

    f.level2.text = "1600.25"; // typed with a point on a comma locale
    f.BitBtn1Click();
    EXPECT_FALSE(e.updateModeShown());
    const auto& top = f.ConditionsView.items.topLevel();
    EXPECT_EQ(conditions::GetTagValue(top[1].get(), conditions::texts::kType), cp("ИЛИ"));
    EXPECT_EQ(conditions::GetTagValue(top[2]->child(2), conditions::texts::kValue), "1600,25");

    e.click(*top[0]);
    f.BitBtn3Click();
    EXPECT_EQ(f.Notebook.pageIndex, 0) << "a chart operand shows the chart page";
    EXPECT_EQ(f.schedule2.text, "PRICE");
    EXPECT_EQ(f.Line_2.value, 2);
    EXPECT_TRUE(f.Notebook.visible);
}

TEST(EditorHandlers, OnlyAConditionCanBeEditedAndNothingSelectedDoesNothing) {
    EditorForm e;
    e.f.BitBtn3Click();
    EXPECT_TRUE(e.forms.dialogs.messages.empty());
    e.addNamed("X1");
    e.addNamed("X2");
    e.f.action1.text = cp("РАВНО");
    e.f.Notebook.visible = false;
    e.click(*e.f.ConditionsView.items.topLevel()[1]->firstChild());
    e.f.BitBtn3Click();
    EXPECT_EQ(e.forms.dialogs.messagesUtf8(),
              std::vector<std::string>{"Изменено может быть только условие!"});
    EXPECT_FALSE(e.updateModeShown());
    EXPECT_TRUE(e.f.Notebook.visible) << "the second operand follows the action after a refusal too";
}

TEST(EditorHandlers, AStoredNumberLoadsWithEitherSeparatorAndANonNumberLeavesTheEditor) {
    EditorForm e;
    e.f.ConditionsView.items =
        conditions::buildFromLines(text::splitConditionLines(testing::golden("example.con")), "example.con");
    const auto storeLevel = [&e](const char* value) {
        SetTagValue(*e.f.ConditionsView.items.lastTopLevel()->child(2), conditions::texts::kValue, cp(value));
    };
    storeLevel("1500.5"); // written on a machine with a decimal point
    e.click(*e.f.ConditionsView.items.lastTopLevel());
    e.f.BitBtn3Click();
    EXPECT_EQ(e.f.level2.text, "1500,5");
    e.f.BitBtn1Click();

    storeLevel("1500 руб");
    e.f.period1.selectItem(0);
    e.click(*e.f.ConditionsView.items.lastTopLevel());
    EXPECT_THROW(e.f.BitBtn3Click(), Error);
    EXPECT_FALSE(e.updateModeShown());
    EXPECT_EQ(e.f.period1.text, cp("1 МИН"));
}

TEST(EditorHandlers, AddingTakesOnlyAJoinerAndALevelThatAreWhatTheySay) {
    struct Case {
        const char* joiner;
        const char* level;
        const char* refusal; // empty when the condition is added
        const char* stored;  // the joiner and the level as stored
    };
    const Case cases[] = {
        {"  или ", "1500.5", "", "ИЛИ 1500,5"},
        {"и", "-2,25", "", "И -2,25"},
        {"1", "100", "Объединение условий может быть только «И» или «ИЛИ»!", ""},
        {"И ИЛИ", "100", "Объединение условий может быть только «И» или «ИЛИ»!", ""},
        {"ИЛИ", "1 500", "Уровень «1 500» не является числом!", ""},
        {"И", "", "Уровень «» не является числом!", ""},
    };
    for (const Case& c : cases) {
        EditorForm e;
        e.addNamed("X1");
        e.chooseAction("БОЛЬШЕ");
        e.f.TabSet1Change(1);
        e.f.LogOp.text = cp(c.joiner);
        e.f.level2.text = cp(c.level);
        e.f.BitBtn1Click();
        const auto& top = e.f.ConditionsView.items.topLevel();
        if (*c.refusal != '\0') {
            EXPECT_EQ(e.forms.dialogs.messagesUtf8(), std::vector<std::string>{c.refusal}) << c.joiner;
            EXPECT_EQ(top.size(), 1u) << c.joiner;
            continue;
        }
        ASSERT_EQ(top.size(), 3u) << c.joiner;
        EXPECT_TRUE(e.forms.dialogs.messages.empty());
        EXPECT_EQ(e.f.LogOp.text, conditions::GetTagValue(top[1].get(), conditions::texts::kType));
        EXPECT_EQ(text::toUtf8(e.f.LogOp.text + " " +
                               conditions::GetTagValue(top[2]->child(2), conditions::texts::kValue)),
                  c.stored);
    }
}

TEST(EditorHandlers, DeletingFollowsTheJoinerRulesAndRefusesWithTheirTexts) {
    EditorForm e;
    TForm1& f = e.f;
    f.ConditionsView.items = listOf("[(] X1 [ИЛИ] X2 [) И] X3 [ИЛИ] X4");
    f.N6Click(); // nothing selected
    e.click(*conditionNamed(f.ConditionsView.items, "X3").firstChild()->firstChild());
    f.N6Click();
    EXPECT_EQ(notationOf(f.ConditionsView.items), "[(] X1 [ИЛИ] X2 [) ] [ИЛИ] X4");
    EXPECT_EQ(f.ConditionsView.selected, nullptr);
    e.click(conditionNamed(f.ConditionsView.items, "X2"));
    f.N6Click();
    e.click(*f.ConditionsView.items.topLevel()[2]);
    f.N6Click();
    EXPECT_EQ(e.forms.dialogs.messagesUtf8(),
              (std::vector<std::string>{
                  "Нельзя удалить условие, участвующее в группировке. Разгруппируйте условие.",
                  "Удалить можно только условие!"}));
    EXPECT_EQ(notationOf(f.ConditionsView.items), "[(] X1 [ИЛИ] X2 [) ] [ИЛИ] X4");
    e.click(conditionNamed(f.ConditionsView.items, "X4"));
    f.N6Click();
    EXPECT_EQ(notationOf(f.ConditionsView.items), "[(] X1 [ИЛИ] X2 [) ]");
}

TEST(EditorHandlers, DeletingTheConditionBeingChangedEndsTheChange) {
    EditorForm e;
    e.addNamed("X1");
    e.addNamed("X2", "И");
    e.click(conditionNamed(e.f.ConditionsView.items, "X2"));
    e.f.BitBtn3Click();
    ASSERT_TRUE(e.updateModeShown());
    e.f.N6Click();
    EXPECT_FALSE(e.updateModeShown());
    EXPECT_EQ(notationOf(e.f.ConditionsView.items), "X1");
    e.addNamed("X3");
    EXPECT_EQ(notationOf(e.f.ConditionsView.items), "X1 [ИЛИ] X3") << "the next press adds again";
}

TEST(EditorHandlers, ARefusedDeleteKeepsTheChangeWaiting) {
    EditorForm e;
    e.f.ConditionsView.items = listOf("X1 [И (] X2 [ИЛИ] X3 [)]");
    e.click(conditionNamed(e.f.ConditionsView.items, "X2"));
    e.f.BitBtn3Click();
    e.f.N6Click();
    EXPECT_TRUE(e.updateModeShown());
    e.f.action1.text = "Y2";
    e.f.Notebook.visible = false;
    e.f.LogOp.selectItem(1);
    e.f.BitBtn1Click();
    EXPECT_EQ(notationOf(e.f.ConditionsView.items), "X1 [И (] Y2 [ИЛИ] X3 [)]");
}

TEST(EditorHandlers, LineNumbersStayNonNegativeAndTabsPickThePage) {
    EditorForm e;
    e.f.Line_1.value = -3;
    e.f.Line_1Change();
    e.f.Line_2.value = -1;
    e.f.Line_2Change();
    EXPECT_EQ(e.f.Line_1.value, 0);
    EXPECT_EQ(e.f.Line_2.value, 0);
    e.f.Line_2.value = 4;
    e.f.Line_2Change();
    EXPECT_EQ(e.f.Line_2.value, 4);
    e.f.TabSet1Change(3);
    EXPECT_EQ(e.f.Notebook.pageIndex, 1);
    e.f.TabSet1Change(0);
    EXPECT_EQ(e.f.Notebook.pageIndex, 0);
}

} // namespace
} // namespace zorvant::app
