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

    BitBtn2 = new QPushButton(qt("Тест соединения"_cp));
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setAutoDefault(false);
    connect(BitBtn2, &QPushButton::clicked, this, &MailDialog::startConnectionTest);
    tests_.setMaxThreadCount(1);
    auto* close = new QPushButton(qt("Закрыть"_cp));
    close->setObjectName("BitBtn1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    runner_.addView([this] { refresh(); });
}

MailDialog::~MailDialog() {
    stopTests_.request_stop();
    tests_.waitForDone();
}

void MailDialog::startConnectionTest() {
    BitBtn2->setEnabled(false);
    const watch::MailSettings settings = app::mailSettingsOf(form_);
    tests_.start([this, settings, stop = stopTests_.get_token()] {
        const bool passed = form_.mailSender().testConnection(settings, stop);
        QMetaObject::invokeMethod(
            this,
            [this, passed] {
                BitBtn2->setEnabled(true);
                runner_.run([&] { form_.connectionTested(passed); });
            },
            Qt::QueuedConnection);
    });
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
