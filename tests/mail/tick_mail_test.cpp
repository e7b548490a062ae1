#include "platform/platform.h"
#include "platform/services.h"
#include "support/smtp_test_server.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "watch/smtp_sender.h"
#include "watch/watcher.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using namespace text::literals;
using testing::SmtpTestServer;

// The watch tick with the program's own services and SMTP sender, against the real test server.
class TickMailTest : public ::testing::Test {
protected:
    TickInput input(std::string_view password, std::string_view messageFile = "m.txt") const {
        const MailSettings mail{server.host("starttls"),
                                std::string("Робот <robot@example.ru>"_cp),
                                std::string("Сигнал"_cp),
                                true,
                                std::string(SmtpTestServer::kUser),
                                std::string(password)};
        return {{{folder.file(messageFile), std::string(kSendMail), "a@x.ru, b@y.ru,"}}, mail, 5s};
    }

    testing::TempFolder folder;
    SmtpTestServer server{{"nobody@example.ru"}};
    SmtpMailSender sender{SmtpOptions{server.caFile()}};
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
    Watcher watcher{platform::systemServices(), sender, [this] { return now; }};
};

TEST_F(TickMailTest, AMessageFileReachesTheServerAndIsThenDeleted) {
    folder.write("m.txt", std::string("Цена 250\r\nSBER\r\n"_cp));
    const auto reports = watcher.tick(input(SmtpTestServer::kPassword));
    ASSERT_TRUE(reports.has_value());
    ASSERT_EQ(reports->size(), 1u);
    EXPECT_EQ((*reports)[0].kind, TickReport::Kind::Action);
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["body"].str(), " Цена 250 SBER\r\n");
    EXPECT_EQ(messages[0]["subject"].str(), "Сигнал");
    EXPECT_EQ(messages[0]["envelope_to"].strings(), (std::vector<std::string>{"a@x.ru", "b@y.ru"}));
    EXPECT_FALSE(platform::plainFileExists(folder.file("m.txt")));
    EXPECT_FALSE(platform::plainFileExists(claimedName(folder.file("m.txt"))));
}

TEST_F(TickMailTest, AFailedSendKeepsTheMessageUntilTheServerTakesIt) {
    TickInput wrongPassword = input("wrong", "m1.txt");
    TickInput closedPort = input(SmtpTestServer::kPassword, "m2.txt");
    closedPort.mail.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    TickInput refusedRecipient = input(SmtpTestServer::kPassword, "m3.txt");
    refusedRecipient.records[0].Target = "nobody@example.ru";
    const std::pair<const TickInput*, std::string> failures[] = {
        {&wrongPassword, "535"}, {&closedPort, "не принимает соединение"}, {&refusedRecipient, "550"}};
    for (const auto& [failing, words] : failures) {
        const std::string& file = failing->records[0].MessageFile;
        platform::writeFile(file, "A\r\n");
        const auto reports = watcher.tick(*failing);
        ASSERT_TRUE(reports.has_value());
        ASSERT_EQ(reports->size(), 1u) << words;
        EXPECT_EQ((*reports)[0].kind, TickReport::Kind::Error);
        EXPECT_NE(text::toUtf8((*reports)[0].text).find(words), std::string::npos)
            << text::toUtf8((*reports)[0].text);
        EXPECT_TRUE(platform::plainFileExists(claimedName(file))) << words;
    }
    EXPECT_TRUE(server.messages().empty());

    now += 10min;
    watcher.tick(input(SmtpTestServer::kPassword, "m1.txt"));
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["body"].str(), " A\r\n");
    EXPECT_FALSE(platform::plainFileExists(claimedName(folder.file("m1.txt"))));
}

} // namespace
} // namespace zorvant::watch
