#pragma once
// TForm2, "Настройка почты": whatever is typed is in force at once; there is no OK or Cancel.
#include "app/tform2.h"
#include "ui/handler_runner.h"

#include <QDialog>
#include <QThreadPool>
#include <stop_token>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zorvant::ui {

class MailDialog : public QDialog {
    Q_OBJECT

public:
    MailDialog(app::TForm2& form, HandlerRunner& runner, QWidget* parent = nullptr);
    ~MailDialog() override;
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // "Тест соединения" off the window's thread: the dialog stays responsive, and the button is disabled
    // until the test is over and its message shown.
    void startConnectionTest();

    app::TForm2& form_;
    HandlerRunner& runner_;
    QComboBox* mailhost;
    QLineEdit* MailReceipt;
    QLineEdit* MailSubject;
    QCheckBox* MailAut;
    QLineEdit* maillogin;
    QLineEdit* mailpassword;
    QPushButton* BitBtn2;
    QThreadPool tests_;
    std::stop_source stopTests_;
};

} // namespace zorvant::ui
