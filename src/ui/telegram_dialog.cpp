#include "ui/telegram_dialog.h"

#include "text/cp1251.h"
#include "ui/widget_sync.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

TelegramDialog::TelegramDialog(app::TFormTelegram& form, HandlerRunner& runner, QWidget* parent)
    : QDialog(parent), form_(form), runner_(runner) {
    setObjectName("FormTelegram");
    setWindowTitle(qt("Настройка Telegram"_cp));
    TelegramToken = new QLineEdit;
    TelegramToken->setObjectName("TelegramToken");
    TelegramToken->setEchoMode(QLineEdit::Password);
    takeInput(TelegramToken, form_.TelegramToken);
    TelegramServer = new QLineEdit;
    TelegramServer->setObjectName("TelegramServer");
    TelegramServer->setPlaceholderText(qt(watch::kPublicBotApi));
    takeInput(TelegramServer, form_.TelegramServer);

    auto* rows = new QFormLayout;
    rows->addRow(qt("Токен бота"_cp), TelegramToken);
    rows->addRow(qt("Сервер Bot API"_cp), TelegramServer);

    TestButton = new QPushButton;
    TestButton->setObjectName("TestButton");
    TestButton->setAutoDefault(false);
    connect(TestButton, &QPushButton::clicked, this, &TelegramDialog::startTest);
    tests_.setMaxThreadCount(1);
    auto* close = new QPushButton(qt("Закрыть"_cp));
    close->setObjectName("CloseButton");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(TestButton);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    runner_.addView([this] { refresh(); });
}

TelegramDialog::~TelegramDialog() {
    stopTests_.request_stop();
    tests_.waitForDone();
}

void TelegramDialog::startTest() {
    const watch::TelegramSettings settings = form_.testStarted();
    refresh();
    tests_.start([this, settings, stop = stopTests_.get_token()] {
        const watch::BotCheck check = form_.telegram().checkBot(settings, stop);
        QMetaObject::invokeMethod(
            this, [this, check] { runner_.run([&] { form_.botChecked(check); }); }, Qt::QueuedConnection);
    });
}

void TelegramDialog::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void TelegramDialog::refresh() {
    display(TelegramToken, form_.TelegramToken);
    display(TelegramServer, form_.TelegramServer);
    display(TestButton, form_.TestButton);
}

} // namespace zorvant::ui
