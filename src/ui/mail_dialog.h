#pragma once
// TForm2, "Настройка почты": whatever is typed is in force at once; there is no OK or Cancel.
#include "app/tform2.h"
#include "ui/handler_runner.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zorvant::ui {

class MailDialog : public QDialog {
    Q_OBJECT

public:
    MailDialog(app::TForm2& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    app::TForm2& form_;
    HandlerRunner& runner_;
    QComboBox* mailhost;
    QLineEdit* MailReceipt;
    QLineEdit* MailSubject;
    QCheckBox* MailAut;
    QLineEdit* maillogin;
    QLineEdit* mailpassword;
};

} // namespace zorvant::ui
