#include "ui/description_page.h"

#include "text/cp1251.h"
#include "ui/condition_editor_view.h"
#include "ui/conditions_tree.h"
#include "ui/widget_sync.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

QLineEdit* edit(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    return box;
}

} // namespace

DescriptionPage::DescriptionPage(app::TForm1& form, HandlerRunner& runner, QWidget* parent)
    : QWidget(parent), form_(form), runner_(runner) {
    setObjectName("TabSheet1");
    auto* left = new QVBoxLayout;
    left->addWidget(portfolioGroup());
    left->addWidget(messageGroup());
    editor_ = new ConditionEditorView(form_, runner_);
    left->addWidget(editor_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addWidget(conditionList(), 4);
}

void DescriptionPage::call(void (app::TForm1::*handler)()) {
    runner_.run([this, handler] { (form_.*handler)(); });
}

QWidget* DescriptionPage::portfolioGroup() {
    auto* group = new QGroupBox(qt(" Портфель "_cp));
    auto* rows = new QFormLayout(group);
    PortfelName = edit("PortfelName");
    PortfelDesc = edit("PortfelDesc");
    takeInput(PortfelName, form_.PortfelName);
    takeInput(PortfelDesc, form_.PortfelDesc);
    auto* save = new QToolButton;
    save->setObjectName("SpeedButton8");
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    save->setToolTip(qt("Сохранить файл описания портфеля"_cp));
    connect(save, &QToolButton::clicked, this, [this] { call(&app::TForm1::N10Click); });
    auto* open = new QToolButton;
    open->setObjectName("SpeedButton9");
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolTip(qt("Открыть файл описания портфеля"_cp));
    connect(open, &QToolButton::clicked, this, [this] { call(&app::TForm1::N11Click); });
    auto* name = new QHBoxLayout;
    name->addWidget(PortfelName, 1);
    name->addWidget(save);
    name->addWidget(open);
    rows->addRow(qt("Название (имя файла)"_cp), name);
    rows->addRow(qt("Комментарий"_cp), PortfelDesc);
    return group;
}

QWidget* DescriptionPage::messageGroup() {
    auto* group = new QGroupBox(qt(" Сообщение "_cp));
    auto* rows = new QVBoxLayout(group);
    RT_ALL = new QRadioButton(qt("Развернуто"_cp));
    RT_ALL->setObjectName("RT_ALL");
    RT_COMP = new QRadioButton(qt("Сжато:"_cp));
    RT_COMP->setObjectName("RT_COMP");
    CompMess = edit("CompMess");
    takeInput(CompMess, form_.CompMess);
    connect(RT_ALL, &QRadioButton::clicked, this, [this] {
        form_.RT_ALL.checked = true;
        form_.RT_COMP.checked = false;
        call(&app::TForm1::RT_ALLClick);
    });
    connect(RT_COMP, &QRadioButton::clicked, this, [this] {
        form_.RT_ALL.checked = false;
        form_.RT_COMP.checked = true;
        call(&app::TForm1::RT_COMPClick);
    });
    auto* mode = new QHBoxLayout;
    mode->addWidget(RT_ALL);
    mode->addWidget(RT_COMP);
    mode->addWidget(CompMess, 1);
    rows->addLayout(mode);
    FileNameMessage = edit("FileNameMessage");
    FileNameMessage->setToolTip(qt("Имя файла в который нужно писать сообщение при выполнении условий"_cp));
    takeInput(FileNameMessage, form_.FileNameMessage);
    auto* pick = new QToolButton;
    pick->setObjectName("SpeedButton1");
    pick->setText("...");
    connect(pick, &QToolButton::clicked, this, [this] { call(&app::TForm1::SpeedButton1Click); });
    auto* file = new QHBoxLayout;
    file->addWidget(new QLabel(qt("Файл:"_cp)));
    file->addWidget(FileNameMessage, 1);
    file->addWidget(pick);
    rows->addLayout(file);
    return group;
}

QWidget* DescriptionPage::conditionList() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    ConditionsView = new ConditionsTree(form_.ConditionsView);
    ConditionsView->setContextMenu(contextMenu());
    layout->addWidget(ConditionsView, 1);

    LogOp = new QComboBox;
    LogOp->setObjectName("LogOp");
    LogOp->setToolTip(qt("Объединение условий"_cp));
    takeInput(LogOp, form_.LogOp);
    BitBtn1 = new QPushButton;
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setToolTip(qt("Добавить условие в перечень"_cp));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { call(&app::TForm1::BitBtn1Click); });
    BitBtn2 = new QPushButton;
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setToolTip(qt("Удалить условие их перечня"_cp));
    connect(BitBtn2, &QPushButton::clicked, this, [this] { call(&app::TForm1::N6Click); });
    BitBtn3 = new QPushButton;
    BitBtn3->setObjectName("BitBtn3");
    connect(BitBtn3, &QPushButton::clicked, this, [this] { call(&app::TForm1::BitBtn3Click); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LogOp);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    layout->addLayout(buttons);
    return column;
}

QMenu* DescriptionPage::contextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName("PopupMenu1");
    const std::pair<std::string_view, void (app::TForm1::*)()> items[] = {
        {"Редактировать"_cp, &app::TForm1::BitBtn3Click},
        {"Удалить"_cp, &app::TForm1::N6Click},
        {"Группировать"_cp, &app::TForm1::N27Click},
        {"Разгруппировать"_cp, &app::TForm1::N28Click},
    };
    for (const auto& [title, handler] : items) {
        QAction* action = menu->addAction(qt(title));
        connect(action, &QAction::triggered, this, [this, handler = handler] { call(handler); });
    }
    menu->actions()[2]->setObjectName("N27");
    menu->actions()[3]->setObjectName("N28");
    return menu;
}

void DescriptionPage::refresh() {
    display(PortfelName, form_.PortfelName);
    display(PortfelDesc, form_.PortfelDesc);
    display(RT_ALL, form_.RT_ALL);
    display(RT_COMP, form_.RT_COMP);
    display(CompMess, form_.CompMess);
    display(FileNameMessage, form_.FileNameMessage);
    editor_->refresh();
    ConditionsView->refresh();
    display(LogOp, form_.LogOp);
    display(BitBtn1, form_.BitBtn1);
    display(BitBtn2, form_.BitBtn2);
    display(BitBtn3, form_.BitBtn3);
}

} // namespace zorvant::ui
