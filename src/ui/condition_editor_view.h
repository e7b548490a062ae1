#pragma once
// The group " Условие " of the "Описание" page: the editor of one condition, read as a sentence.
#include "app/tform1.h"
#include "ui/handler_runner.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QTabBar;

namespace zorvant::ui {

class ConditionEditorView : public QGroupBox {
    Q_OBJECT

public:
    ConditionEditorView(app::TForm1& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* chartOperand(QComboBox*& time, QSpinBox*& line, QLineEdit*& chart, QComboBox*& period,
                          const char* suffix);
    QWidget* valueOperand();

    app::TForm1& form_;
    HandlerRunner& runner_;
    QComboBox* Time1;
    QSpinBox* Line_1;
    QLineEdit* schedule1;
    QComboBox* period1;
    QComboBox* action1;
    QStackedWidget* Notebook;
    QTabBar* TabSet1;
    QComboBox* Time2;
    QSpinBox* Line_2;
    QLineEdit* schedule2;
    QComboBox* period2;
    QLineEdit* level2;
};

} // namespace zorvant::ui
