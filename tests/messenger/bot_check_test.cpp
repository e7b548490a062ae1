#include "app/tform_telegram.h"
#include "support/http_test_server.h"
#include "support/scripted_dialogs.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using testing::HttpTestServer;

TEST(BotCheck, TheTestShowsTheBotsNameOrTheServersOwnErrorText) {
    HttpTestServer server;
    testing::ScriptedDialogs dialogs;
    const watch::TelegramChannel telegram{watch::HttpOptions{server.caFile()}};
    TFormTelegram form(dialogs, telegram);
    form.TelegramServer.text = server.url() + "/";
    form.TelegramToken.text = std::string(HttpTestServer::kToken);
    form.TestButtonClick();
    form.TelegramToken.text = "1:wrong";
    form.TestButtonClick();
    form.TelegramToken.text.clear();
    form.TestButtonClick();
    form.TelegramToken.text = "1:a/../getUpdates?x"; // the token goes into the address's path
    form.TestButtonClick();
    EXPECT_EQ(dialogs.messagesUtf8(),
              (std::vector<std::string>{
                  "Связь с Telegram есть. Бот: @zorvant_test_bot (Сигналы).",
                  "Проверка не прошла: Unauthorized",
                  "Проверка не прошла: Не задан токен бота Telegram (меню «Настройка Telegram»).",
                  "Проверка не прошла: Токен бота Telegram содержит недопустимые символы.",
              }));
    EXPECT_TRUE(form.TestButton.enabled);
    EXPECT_EQ(server.requests().size(), 2u);
}

} // namespace
} // namespace zorvant::app
