#include "app/tform_telegram.h"

#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

TFormTelegram::TFormTelegram(Dialogs& dialogs, const watch::TelegramChannel& telegram)
    : dialogs_(dialogs), telegram_(telegram) {
    TestButton.caption = std::string("Проверить"_cp);
}

watch::TelegramSettings telegramSettingsOf(const TFormTelegram& form) {
    return {form.TelegramToken.text, form.TelegramServer.text};
}

void TFormTelegram::TestButtonClick() {
    const watch::TelegramSettings settings = testStarted();
    botChecked(telegram_.checkBot(settings, {}));
}

watch::TelegramSettings TFormTelegram::testStarted() {
    TestButton.enabled = false;
    return telegramSettingsOf(*this);
}

void TFormTelegram::botChecked(const watch::BotCheck& check) {
    TestButton.enabled = true;
    dialogs_.showMessage(check.passed ? std::string("Связь с Telegram есть. Бот: "_cp) + check.text + "."
                                      : std::string("Проверка не прошла: "_cp) + check.text);
}

} // namespace zorvant::app
