#pragma once
// The page "Описание": the portfolio, its message, the condition editor and the condition list.
#include "app/tform1.h"
#include "ui/handler_runner.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace zorvant::ui {

class ConditionEditorView;
class ConditionsTree;

class DescriptionPage : public QWidget {
    Q_OBJECT

public:
    DescriptionPage(app::TForm1& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* portfolioGroup();
    QWidget* messageGroup();
    QWidget* conditionList();
    QMenu* contextMenu();
    void call(void (app::TForm1::*handler)());

    app::TForm1& form_;
    HandlerRunner& runner_;
    QLineEdit* PortfelName;
    QLineEdit* PortfelDesc;
    QRadioButton* RT_ALL;
    QRadioButton* RT_COMP;
    QLineEdit* CompMess;
    QLineEdit* FileNameMessage;
    ConditionEditorView* editor_;
    ConditionsTree* ConditionsView;
    QComboBox* LogOp;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
};

} // namespace zorvant::ui
