#pragma once
// The group " Отслеживание файлов сообщений ": the watch interval, the record editors with their
// pickers and buttons, and the grid TableFiles under its three header panels.
#include "app/tform1.h"
#include "ui/handler_runner.h"

#include <QGroupBox>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace zorvant::ui {

class WatchTableView : public QGroupBox {
    Q_OBJECT

public:
    WatchTableView(app::TForm1& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* intervalRow();
    // The header panels over the record editors, in three columns that share out the width.
    QWidget* headersAndEditors();
    QWidget* fileEditor();
    QWidget* targetEditor();
    QToolButton* button(const char* name, void (app::TForm1::*handler)());
    void refreshGrid();
    void call(void (app::TForm1::*handler)());

    app::TForm1& form_;
    HandlerRunner& runner_;
    QSpinBox* TimeInterval;
    QFrame* Shape2;
    QFrame* Shape3;
    QFrame* Shape6;
    QLabel* Label19;
    QLineEdit* LookFileName;
    QComboBox* DoChoise;
    QLineEdit* ExeFileName;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton7;
    QTableWidget* TableFiles;
};

} // namespace zorvant::ui
