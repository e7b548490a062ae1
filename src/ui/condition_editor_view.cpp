#include "ui/condition_editor_view.h"

#include "text/cp1251.h"
#include "ui/widget_sync.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

QComboBox* combo(const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    return box;
}

QLabel* caption(std::string_view cp1251) {
    return new QLabel(qt(cp1251));
}

} // namespace

ConditionEditorView::ConditionEditorView(app::TForm1& form, HandlerRunner& runner, QWidget* parent)
    : QGroupBox(qt(" Условие "_cp), parent), form_(form), runner_(runner) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    auto* part1 = chartOperand(Time1, Line_1, schedule1, period1, "1");
    auto* first = new QHBoxLayout;
    first->addWidget(caption("Если:"_cp));
    first->addWidget(part1, 1);
    layout->addLayout(first);

    action1 = combo("action1");
    takeInput(action1, form_.action1, [this] { runner_.run([this] { form_.action1Change(); }); });
    layout->addWidget(action1);

    Notebook = new QStackedWidget;
    Notebook->setObjectName("Notebook");
    Notebook->addWidget(chartOperand(Time2, Line_2, schedule2, period2, "2"));
    Notebook->widget(0)->setObjectName("Page1");
    Notebook->addWidget(valueOperand());
    Notebook->widget(1)->setObjectName("Page2");
    layout->addWidget(Notebook);

    TabSet1 = new QTabBar;
    TabSet1->setObjectName("TabSet1");
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->addTab(qt("График"_cp));
    TabSet1->addTab(qt("Значение (уровень)"_cp));
    connect(TabSet1, &QTabBar::currentChanged, this, [this](int tab) {
        form_.TabSet1.tabIndex = tab;
        runner_.run([this, tab] { form_.TabSet1Change(tab); });
    });
    layout->addWidget(TabSet1);
    layout->addStretch(1);
}

QWidget* ConditionEditorView::chartOperand(QComboBox*& time, QSpinBox*& line, QLineEdit*& chart,
                                           QComboBox*& period, const char* suffix) {
    const bool first = suffix[0] == '1';
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    time = combo(first ? "Time1" : "Time2");
    line = new QSpinBox;
    line->setObjectName(first ? "Line_1" : "Line_2");
    chart = new QLineEdit;
    chart->setObjectName(first ? "schedule1" : "schedule2");
    period = combo(first ? "period1" : "period2");
    takeInput(time, first ? form_.Time1 : form_.Time2);
    takeInput(period, first ? form_.period1 : form_.period2);
    takeInput(chart, first ? form_.schedule1 : form_.schedule2);
    takeInput(line, first ? form_.Line_1 : form_.Line_2, [this, first] {
        runner_.run([this, first] { first ? form_.Line_1Change() : form_.Line_2Change(); });
    });
    grid->addWidget(time, 0, 0, 1, 5);
    grid->addWidget(caption("линии"_cp), 1, 0);
    grid->addWidget(line, 1, 1);
    grid->addWidget(caption("графика"_cp), 1, 2);
    grid->addWidget(chart, 1, 3);
    grid->addWidget(period, 1, 4);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* ConditionEditorView::valueOperand() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    level2 = new QLineEdit;
    level2->setObjectName("level2");
    takeInput(level2, form_.level2);
    row->addWidget(level2);
    row->addStretch(1);
    return page;
}

void ConditionEditorView::refresh() {
    display(Time1, form_.Time1);
    display(Line_1, form_.Line_1);
    display(schedule1, form_.schedule1);
    display(period1, form_.period1);
    display(action1, form_.action1);
    display(Time2, form_.Time2);
    display(Line_2, form_.Line_2);
    display(schedule2, form_.schedule2);
    display(period2, form_.period2);
    display(level2, form_.level2);
    {
        const QSignalBlocker blocker(TabSet1);
        TabSet1->setCurrentIndex(form_.TabSet1.tabIndex);
    }
    Notebook->setCurrentIndex(form_.Notebook.pageIndex);
    Notebook->setVisible(form_.Notebook.visible);
    TabSet1->setVisible(form_.TabSet1.visible);
}

} // namespace zorvant::ui
