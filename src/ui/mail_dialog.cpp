#include "ui/mail_dialog.h"

#include "text/cp1251.h"
#include "ui/widget_sync.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

QLineEdit* field(const char* name, app::Edit& model) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    takeInput(edit, model);
    return edit;
}

} // namespace

MailDialog::MailDialog(app::TForm2& form, HandlerRunner& runner, QWidget* parent)
    : QDialog(parent), form_(form), runner_(runner) {
    setObjectName("Form2");
    setWindowTitle(qt("Настройка почты"_cp));
    mailhost = new QComboBox;
    mailhost->setObjectName("mailhost");
    takeInput(mailhost, form_.mailhost);
    MailReceipt = field("MailReceipt", form_.MailReceipt);
    MailSubject = field("MailSubject", form_.MailSubject);
    MailAut = new QCheckBox(qt("Аутентификация:"_cp));
    MailAut->setObjectName("MailAut");
    connect(MailAut, &QCheckBox::clicked, this, [this](bool checked) { form_.MailAut.checked = checked; });
    maillogin = field("maillogin", form_.maillogin);
    mailpassword = field("mailpassword", form_.mailpassword);
    mailpassword->setEchoMode(QLineEdit::Password);

    auto* rows = new QFormLayout;
    rows->addRow(qt("Почтовый сервер"_cp), mailhost);
    rows->addRow(qt("Обратный адрес"_cp), MailReceipt);
    rows->addRow(qt("Тема письма"_cp), MailSubject);
    rows->addRow(MailAut);
    rows->addRow(qt("имя пользователя"_cp), maillogin);
    rows->addRow(qt("пароль"_cp), mailpassword);

    auto* test = new QPushButton(qt("Тест соединения"_cp));
    test->setObjectName("BitBtn2");
    test->setAutoDefault(false);
    connect(test, &QPushButton::clicked, this, [this] { runner_.run([this] { form_.BitBtn2Click(); }); });
    auto* close = new QPushButton(qt("Закрыть"_cp));
    close->setObjectName("BitBtn1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(test);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    runner_.addView([this] { refresh(); });
}

void MailDialog::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void MailDialog::refresh() {
    display(mailhost, form_.mailhost);
    display(MailReceipt, form_.MailReceipt);
    display(MailSubject, form_.MailSubject);
    display(MailAut, form_.MailAut);
    display(maillogin, form_.maillogin);
    display(mailpassword, form_.mailpassword);
}

} // namespace zorvant::ui
