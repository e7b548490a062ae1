#include "platform/platform.h"
#include "platform/services.h"
#include "support/smtp_test_server.h"
#include "support/temp_folder.h"
#include "support/watch_ticks.h"
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
    TickInput input(std::string_view messageFile, std::string_view recipients = "a@x.ru, b@y.ru,",
                    std::string_view password = SmtpTestServer::kPassword) const {
        const MailSettings mail{server.host("starttls"),
                                std::string("Робот <robot@example.ru>"_cp),
                                std::string("Сигнал"_cp),
                                true,
                                std::string(SmtpTestServer::kUser),
                                std::string(password)};
        return {{{folder.file(messageFile), std::string(kSendMail), std::string(recipients)}}, mail, 5s};
    }
    // One tick and the deliveries it started; the reports as "action: text" or "error: text", UTF-8.
    std::vector<std::string> tick(const TickInput& ticked) { return testing::tickAndSay(watcher, ticked); }
    bool exists(std::string_view name) const { return platform::plainFileExists(folder.file(name)); }

    testing::TempFolder folder;
    SmtpTestServer server{SmtpTestServer::Options{{"nobody@example.ru"}, {"busy@example.ru"}, {}, 0}};
    SmtpMailSender sender{SmtpOptions{server.caFile()}};
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
    Watcher watcher{platform::systemServices(), {{kSendMail, &sender}}, [this] { return now; }};
};

TEST_F(TickMailTest, AMessageFileReachesTheServerAndIsThenDeleted) {
    folder.write("m.txt", std::string("Цена 250\r\nSBER\r\n"_cp));
    EXPECT_EQ(tick(input("m.txt")), std::vector<std::string>{"action:  Цена 250 SBER"});
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["body"].str(), " Цена 250 SBER\r\n");
    EXPECT_EQ(messages[0]["subject"].str(), "Сигнал");
    EXPECT_EQ(messages[0]["envelope_to"].strings(), (std::vector<std::string>{"a@x.ru", "b@y.ru"}));
    EXPECT_FALSE(exists("m.txt"));
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(TickMailTest, RefusedRecipientsAreNamedAndTheOthersServed) {
    folder.write("m.txt", "A\r\n");
    const auto said = tick(input("m.txt", "a@x.ru, nobody@example.ru"));
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], "action:  A");
    EXPECT_NE(said[1].find("не всем получателям"), std::string::npos) << said[1];
    EXPECT_NE(said[1].find("nobody@example.ru (550"), std::string::npos) << said[1];
    ASSERT_EQ(server.messages().size(), 1u);
    EXPECT_EQ(server.messages()[0]["envelope_to"].strings(), std::vector<std::string>{"a@x.ru"});
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(TickMailTest, AMessageRefusedForGoodIsSetAsideAndTheNextOneGoes) {
    const TickInput refused = input("m.txt", "nobody@example.ru");
    const TickInput deniedLogin = input("p.txt", "a@x.ru", "wrong");
    for (const auto* failing : {&refused, &deniedLogin}) {
        const std::string file = text::toUtf8(failing->records[0].MessageFile);
        for (const char* line : {"A\r\n", "B\r\n"}) {
            platform::writeFile(failing->records[0].MessageFile, line);
            const auto said = tick(*failing);
            ASSERT_EQ(said.size(), 1u) << file; // once for each message, never again
            EXPECT_NE(said[0].find("error: "), std::string::npos) << said[0];
            EXPECT_NE(said[0].find(failing == &refused ? "550" : "535"), std::string::npos) << said[0];
            EXPECT_TRUE(tick(*failing).empty());
        }
        EXPECT_EQ(platform::readFile(failing->records[0].MessageFile + "~unsent"), "A\r\n");
        EXPECT_EQ(platform::readFile(failing->records[0].MessageFile + "~unsent2"), "B\r\n");
        EXPECT_FALSE(platform::plainFileExists(claimedName(failing->records[0].MessageFile)));
    }
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(TickMailTest, ATemporaryRefusalKeepsTheMessageForLater) {
    TickInput deferred = input("m.txt", "busy@example.ru");
    TickInput closed = input("n.txt");
    closed.mail.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    const std::pair<const TickInput*, const char*> failures[] = {{&deferred, "450"},
                                                                 {&closed, "не принимает соединение"}};
    for (const auto& [failing, words] : failures) {
        SCOPED_TRACE(words);
        platform::writeFile(failing->records[0].MessageFile, "A\r\n");
        const auto said = tick(*failing);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_NE(said[0].find(words), std::string::npos) << said[0];
        EXPECT_TRUE(platform::plainFileExists(claimedName(failing->records[0].MessageFile))) << words;
    }
    now += 10min;
    EXPECT_TRUE(tick(closed).empty()); // tried again, and the streak is not reported twice
    EXPECT_TRUE(exists("n.txt~zorvant"));
    EXPECT_TRUE(server.messages().empty());
}

} // namespace
} // namespace zorvant::watch
