// The condition editor and the condition tree driven as a user would: typing a condition and adding
// it, the selection rules of the tree, grouping through the context menu, and update mode.
#include "conditions/condition_list.h"
#include "text/cp1251.h"
#include "ui_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

using namespace zorvant;
using namespace zorvant::testing;

namespace {

// The labels of the top-level rows: the node's text, then what it holds.
QStringList topLevelLabels(QTreeWidget* tree) {
    QStringList labels;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        labels << tree->topLevelItem(i)->text(0);
    return labels;
}

QStringList topLevelTexts(QTreeWidget* tree) {
    QStringList texts;
    for (const QString& label : topLevelLabels(tree))
        texts << label.section(' ', 0, 0);
    return texts;
}

QString typeValue(QTreeWidgetItem* operation) {
    return operation->child(0)->text(0);
}

void clickItem(QTreeWidget* tree, QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton) {
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), button, modifiers, tree->visualItemRect(item).center());
}

// The context menu as the platform opens it after a right click, and a click on one of its items.
void openContextMenu(QTreeWidget* tree, QTreeWidgetItem* over, const QString& item) {
    whenModalOpens([item](QWidget* menu) { clickMenuItem(qobject_cast<QMenu*>(menu), item); });
    const QPoint at = tree->visualItemRect(over).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &event);
}

// Adds a condition with the editor's current values, as the button does.
void addCondition(UiFixture& ui, const QString& chart) {
    retype(ui.find<QLineEdit>("schedule1"), chart);
    click(ui.find<QPushButton>("BitBtn1"));
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void aConditionTypedIntoTheEditorIsAddedToTheList() {
        UiFixture ui;
        ui.start();
        auto* tree = ui.find<QTreeWidget>("ConditionsView");
        retype(ui.find<QComboBox>("Time1")->lineEdit(), u("ПРЕДЫДУЩЕЕ ЗНАЧЕНИЕ"));
        ui.find<QSpinBox>("Line_1")->setFocus();
        QTest::keyClick(ui.find<QSpinBox>("Line_1"), Qt::Key_Up);
        retype(ui.find<QLineEdit>("schedule1"), "SBER");
        retype(ui.find<QComboBox>("action1")->lineEdit(), u("БОЛЬШЕ"));
        QVERIFY(ui.find<QStackedWidget>("Notebook")->isVisible());
        QTest::mouseClick(ui.find<QTabBar>("TabSet1"), Qt::LeftButton, {},
                          ui.find<QTabBar>("TabSet1")->tabRect(1).center());
        QCOMPARE(ui.find<QStackedWidget>("Notebook")->currentIndex(), 1);
        retype(ui.find<QLineEdit>("level2"), "1500.5"); // a point on a comma locale
        click(ui.find<QPushButton>("BitBtn1"));

        QCOMPARE(topLevelLabels(tree), QStringList({u("<УСЛОВИЕ>  1: SBER[1] 5 МИН (ПРЕД.) БОЛЬШЕ 1500,5")}));
        QTreeWidgetItem* condition = tree->topLevelItem(0);
        QVERIFY(condition->isExpanded());
        QCOMPARE(condition->child(0)->child(0)->text(0), u("<ВРЕМЯ>ПРЕДЫДУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>"));
        QCOMPARE(condition->child(0)->child(1)->text(0), u("<ЛИНИЯ>1</ЛИНИЯ>"));
        QCOMPARE(condition->child(0)->child(2)->text(0), u("<ГРАФИК>SBER</ГРАФИК>"));
        QCOMPARE(condition->child(1)->text(0), u("<ДЕЙСТВИЕ>БОЛЬШЕ</ДЕЙСТВИЕ>"));
        QCOMPARE(condition->child(2)->child(0)->text(0), u("<ЗНАЧЕНИЕ>1500,5</ЗНАЧЕНИЕ>"));

        retype(ui.find<QComboBox>("action1")->lineEdit(), u("РАЗВОРАЧИВАЕТСЯ ВВЕРХ"));
        QVERIFY(!ui.find<QStackedWidget>("Notebook")->isVisible());
        QVERIFY(!ui.find<QTabBar>("TabSet1")->isVisible());
        retype(ui.find<QComboBox>("LogOp")->lineEdit(), u("И"));
        click(ui.find<QPushButton>("BitBtn1"));
        QCOMPARE(topLevelLabels(tree).mid(1),
                 QStringList({u("<ОПЕРАЦИЯ>  И"), u("<УСЛОВИЕ>  2: SBER[1] 5 МИН (ПРЕД.) "
                                                    "РАЗВОРАЧИВАЕТСЯ ВВЕРХ")}));
        QCOMPARE(typeValue(tree->topLevelItem(1)), u("<ТИП>И</ТИП>"));
        QCOMPARE(tree->topLevelItem(2)->childCount(), 3); // no second operand
    }

    void longLabelsScrollSidewaysInsteadOfBeingCut() {
        UiFixture ui;
        ui.start();
        auto* tree = ui.find<QTreeWidget>("ConditionsView");
        QCOMPARE(tree->horizontalScrollBar()->maximum(), 0);
        addCondition(ui, QString(60, 'W'));
        QTRY_VERIFY(tree->horizontalScrollBar()->maximum() > 0);
        const QString label = tree->topLevelItem(0)->text(0);
        QVERIFY(tree->columnWidth(0) > tree->fontMetrics().horizontalAdvance(label));
    }

    void theTreeSelectsOnlyContiguousSiblingRanges() {
        UiFixture ui;
        ui.start();
        auto* tree = ui.find<QTreeWidget>("ConditionsView");
        for (const char* chart : {"A", "B", "C"})
            addCondition(ui, chart);
        const auto& view = ui.forms->form1.ConditionsView;
        const auto& top = view.items.topLevel();
        QCOMPARE(tree->topLevelItemCount(), 5);

        clickItem(tree, tree->topLevelItem(4));
        clickItem(tree, tree->topLevelItem(2), Qt::ShiftModifier);
        QCOMPARE(tree->selectedItems().size(), 3);
        QCOMPARE(view.selection.size(), std::size_t(3));
        QCOMPARE(view.selection.front(), top[4].get()); // the anchor end first
        QCOMPARE(view.selection.back(), top[2].get());
        QCOMPARE(view.selected, top[2].get());

        clickItem(tree, tree->topLevelItem(0)->child(1), Qt::ShiftModifier); // not a sibling
        QCOMPARE(view.selection, std::vector<conditions::Node*>{top[0]->child(1)});

        clickItem(tree, tree->topLevelItem(0));
        clickItem(tree, tree->topLevelItem(2), Qt::ControlModifier); // no toggling
        QCOMPARE(view.selection, std::vector<conditions::Node*>{top[2].get()});
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{tree->topLevelItem(2)});

        // The keyboard extends the range the same way; Down alone starts a new one.
        tree->collapseAll();
        QTest::keyClick(tree, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(tree, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view.selection, (std::vector<conditions::Node*>{top[2].get(), top[3].get(), top[4].get()}));
        QTest::keyClick(tree, Qt::Key_Up);
        QCOMPARE(view.selection, std::vector<conditions::Node*>{top[3].get()});
    }

    void twoConditionsAreGroupedThroughTheContextMenu() {
        UiFixture ui;
        ui.start();
        auto* tree = ui.find<QTreeWidget>("ConditionsView");
        for (const char* chart : {"A", "B", "C"})
            addCondition(ui, chart);
        clickItem(tree, tree->topLevelItem(0));
        clickItem(tree, tree->topLevelItem(2), Qt::ShiftModifier);

        // The right click opens the menu over another node and keeps the selection.
        clickItem(tree, tree->topLevelItem(4), {}, Qt::RightButton);
        QCOMPARE(ui.forms->form1.ConditionsView.selection.size(), std::size_t(3));
        openContextMenu(tree, tree->topLevelItem(4), u("Группировать"));

        QCOMPARE(topLevelTexts(tree), QStringList({u("<ОПЕРАЦИЯ>"), u("<УСЛОВИЕ>"), u("<ОПЕРАЦИЯ>"),
                                                   u("<УСЛОВИЕ>"), u("<ОПЕРАЦИЯ>"), u("<УСЛОВИЕ>")}));
        QCOMPARE(typeValue(tree->topLevelItem(0)), u("<ТИП>(</ТИП>"));
        QCOMPARE(typeValue(tree->topLevelItem(4)), u("<ТИП>) ИЛИ</ТИП>"));
    }

    void editingAConditionDisablesTheTreeUntilItIsWrittenBack() {
        UiFixture ui;
        ui.start();
        auto* tree = ui.find<QTreeWidget>("ConditionsView");
        addCondition(ui, "A");
        clickItem(tree, tree->topLevelItem(0));
        openContextMenu(tree, tree->topLevelItem(0), u("Редактировать"));

        QVERIFY(!tree->isEnabled());
        QCOMPARE(tree->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
        // The change starts at the first field; a key typed now does not replace the joiner.
        auto* time1 = ui.find<QComboBox>("Time1");
        QTRY_VERIFY(time1->hasFocus() || time1->lineEdit()->hasFocus());
        typeText(QApplication::focusWidget(), "1");
        QCOMPARE(ui.find<QComboBox>("LogOp")->currentText(), u("ИЛИ"));
        QCOMPARE(ui.find<QPushButton>("BitBtn1")->text(), u("Обновить"));
        retype(ui.find<QLineEdit>("schedule1"), "GAZP");
        click(ui.find<QPushButton>("BitBtn1"));
        QVERIFY(tree->isEnabled());
        QCOMPARE(ui.find<QPushButton>("BitBtn1")->text(), u("Добавить"));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->child(0)->child(2)->text(0), u("<ГРАФИК>GAZP</ГРАФИК>"));
    }
};

std::vector<std::unique_ptr<QObject>> makeEditorTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<EditorTest>());
    return tests;
}

#include "editor_test.moc"
