#include "support/cli_run.h"
#include "support/smtp_test_server.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zorvant::cli {
namespace {
using namespace text::literals;
using testing::SmtpTestServer;

using testing::CliResult;

CliResult run(const std::vector<std::string>& args) {
    return testing::runCliCaptured(args);
}

class MailTestCommandTest : public ::testing::Test {
protected:
    // A settings file as the program writes it, with the mail settings given and a wrong password.
    std::string settingsFile(const std::string& host) const {
        const std::string lines =
            std::string("Интервал просмотра=5\r\nПочтовый сервер="_cp) + host +
            std::string("\r\nАутентификация=1\r\nИмя пользователя=robot\r\nПароль=wrong\r\n"_cp);
        folder.write("Настройки.ini", lines);
        return text::toUtf8(folder.file("Настройки.ini"));
    }

    testing::TempFolder folder;
    SmtpTestServer server;
};

TEST_F(MailTestCommandTest, PassesAgainstAReachableServerWithoutLoggingIn) {
    const CliResult result = run({"mail-test", "--settings", settingsFile(server.host("plain"))});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Тест успешно пройден.\n");
    EXPECT_EQ(server.events(),
              (std::vector<std::string>{"plain EHLO tls=False", "plain NOOP", "plain QUIT"}));
}

TEST_F(MailTestCommandTest, FailsWithTheDialogsMessageWhenNoServerAnswers) {
    const std::string closed = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    const CliResult result = run({"mail-test", "--settings", settingsFile(closed)});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "Неудачная попытка соединения с сревером.\n");
}

TEST_F(MailTestCommandTest, ReportsUnreadableSettingsAndBadArguments) {
    const CliResult missing = run({"mail-test", "--settings", text::toUtf8(folder.file("нет.ini"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("нет.ini"), std::string::npos) << missing.err;
    for (const auto& args : {std::vector<std::string>{"mail-test", "--settings"},
                             std::vector<std::string>{"mail-test", "x.ini"}}) {
        const CliResult bad = run(args);
        EXPECT_EQ(bad.code, 2);
        EXPECT_NE(bad.err.find("mail-test [--settings"), std::string::npos) << bad.err;
    }
    EXPECT_NE(run({"--help"}).out.find("zorvant-cli mail-test"), std::string::npos);
}

} // namespace
} // namespace zorvant::cli
