#pragma once
// The window "Настройка Telegram": the bot's token and the Bot API server, in force as soon as they are
// typed, and a test that asks the server who the bot is (getMe).
#include "app/controls.h"
#include "app/dialogs.h"
#include "watch/telegram_channel.h"

namespace zorvant::app {

class TFormTelegram {
public:
    TFormTelegram(Dialogs& dialogs, const watch::TelegramChannel& telegram);

    Edit TelegramToken;
    Edit TelegramServer; // empty for the public Bot API
    Button TestButton;

    // "Проверить": asks the server and shows the bot's name or the server's own error text.
    void TestButtonClick();
    // The same test in two halves, for a window that asks the server off its own thread: the test
    // starts (the button is disabled), and its answer is shown (the button enabled again).
    watch::TelegramSettings testStarted();
    const watch::TelegramChannel& telegram() const { return telegram_; }
    void botChecked(const watch::BotCheck& check);

private:
    Dialogs& dialogs_;
    const watch::TelegramChannel& telegram_;
};

// The Telegram settings in force: the window's controls as they stand.
watch::TelegramSettings telegramSettingsOf(const TFormTelegram& form);

} // namespace zorvant::app
