#include "support/smtp_test_server.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/smtp_sender.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace text::literals;
using testing::SmtpTestServer;

class SmtpSenderTest : public ::testing::Test {
protected:
    MailSettings settingsFor(std::string_view listener, bool authenticate = true,
                             std::string_view password = SmtpTestServer::kPassword) const {
        return {server.host(listener),
                std::string("Робот <robot@example.ru>"_cp),
                std::string("Сигнал: покупка SBER — ёлка"_cp),
                authenticate,
                std::string(SmtpTestServer::kUser),
                std::string(password)};
    }

    // The error's text in UTF-8, or empty when the send went through.
    std::string sendError(MailSender& sender, const MailSettings& settings, std::string_view recipients) {
        try {
            sender.send(settings, recipients, " x");
            return "";
        } catch (const Error& error) {
            return text::toUtf8(error.what());
        }
    }

    bool sawEvent(std::string_view prefix) const {
        const auto events = server.events();
        return std::any_of(events.begin(), events.end(),
                           [&](const auto& e) { return e.starts_with(prefix); });
    }

    SmtpTestServer server{{"nobody@example.ru"}};
    SmtpMailSender sender{SmtpOptions{server.caFile()}};
};

TEST_F(SmtpSenderTest, TheServerReadsEveryPartOfAMessageSentOverStartTlsWithLogin) {
    sender.send(settingsFor("starttls"), std::string("a@x.ru, \"Петров, Иван\" <ivan@y.ru>,"_cp),
                " Цена 250,5 SBER"_cp);
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    const auto& m = messages[0];
    EXPECT_TRUE(m["tls"].boolean());
    EXPECT_EQ(m["login"].str(), "robot");
    EXPECT_TRUE(sawEvent("auth LOGIN robot ok"));
    EXPECT_EQ(m["subject"].str(), "Сигнал: покупка SBER — ёлка");
    EXPECT_TRUE(m["raw_subject"].str().starts_with("=?windows-1251?B?")) << m["raw_subject"].str();
    EXPECT_EQ(m["from_name"].str(), "Робот <robot@example.ru>");
    EXPECT_EQ(m["from_address"].str(), "robot@example.ru");
    EXPECT_EQ(m["envelope_from"].str(), "robot@example.ru");
    EXPECT_EQ(m["envelope_to"].strings(), (std::vector<std::string>{"a@x.ru", "ivan@y.ru"}));
    ASSERT_EQ(m["to"].array().size(), 2u);
    EXPECT_EQ(m["to"][0]["address"].str(), "a@x.ru");
    EXPECT_EQ(m["to"][1]["name"].str(), "Петров, Иван");
    EXPECT_EQ(m["to"][1]["address"].str(), "ivan@y.ru");
    EXPECT_EQ(m["body"].str(), " Цена 250,5 SBER\r\n");
    EXPECT_EQ(m["content_type"].str(), "text/plain; charset=Windows-1251");
    EXPECT_EQ(m["content_transfer_encoding"].str(), "8bit");
    EXPECT_TRUE(m["date_valid"].boolean());
    EXPECT_TRUE(m["message_id"].str().ends_with("@example.ru>"));
    EXPECT_TRUE(m["defects"].array().empty());
}

TEST_F(SmtpSenderTest, SmtpsAndPlainServersEachGetTheirOwnMessage) {
    sender.send(settingsFor("smtps"), "a@x.ru", " first");
    MailSettings plain = settingsFor("plain", false, "typed but unused");
    plain.returnAddress = "robot@example.ru";
    plain.subject = "Signal: SBER  up";
    sender.send(plain, "b@x.ru", " second");
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]["listener"].str(), "smtps");
    EXPECT_TRUE(messages[0]["tls"].boolean());
    EXPECT_EQ(messages[0]["body"].str(), " first\r\n");
    EXPECT_EQ(messages[1]["listener"].str(), "plain");
    EXPECT_FALSE(messages[1]["tls"].boolean());
    EXPECT_TRUE(messages[1]["login"].isNull());
    EXPECT_EQ(messages[1]["raw_subject"].str(), "Signal: SBER  up");
    EXPECT_EQ(messages[1]["from_name"].str(), "");
    EXPECT_EQ(messages[1]["from_address"].str(), "robot@example.ru");
    EXPECT_EQ(messages[1]["envelope_to"].strings(), std::vector<std::string>{"b@x.ru"});
    EXPECT_EQ(messages[1]["body"].str(), " second\r\n");
    const auto events = server.events();
    EXPECT_EQ(
        std::count_if(events.begin(), events.end(), [](const auto& e) { return e.starts_with("auth"); }), 1);
}

TEST_F(SmtpSenderTest, LongSubjectsAndBodiesArriveUnchanged) {
    MailSettings settings = settingsFor("starttls");
    std::string subject, body;
    for (int i = 0; i < 12; ++i)
        subject += std::string("Сигнал покупки №"_cp) + std::to_string(i) + " ";
    for (int i = 0; i < 40; ++i)
        body += std::string(" Строка сообщения номер "_cp) + std::to_string(i) + " = =?x?= .";
    settings.subject = subject;
    sender.send(settings, "a@x.ru", body);
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["subject"].str(), text::toUtf8(subject));
    EXPECT_EQ(messages[0]["body"].str(), text::toUtf8(body) + "\r\n");
    EXPECT_EQ(messages[0]["content_transfer_encoding"].str(), "quoted-printable");
    EXPECT_TRUE(messages[0]["defects"].array().empty());
}

TEST_F(SmtpSenderTest, FailuresSayWhatWentWrongInTheServersWords) {
    const std::string denied = sendError(sender, settingsFor("starttls", true, "wrong"), "a@x.ru");
    EXPECT_NE(denied.find("отклонил имя пользователя или пароль"), std::string::npos) << denied;
    EXPECT_NE(denied.find("535"), std::string::npos) << denied;

    MailSettings closed = settingsFor("plain");
    closed.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    const std::string refused = sendError(sender, closed, "a@x.ru");
    EXPECT_NE(refused.find("не принимает соединение"), std::string::npos) << refused;
    EXPECT_NE(refused.find(closed.host), std::string::npos) << refused;

    const std::string rejected = sendError(sender, settingsFor("plain"), "a@x.ru, nobody@example.ru");
    EXPECT_NE(rejected.find("Recipient address rejected"), std::string::npos) << rejected;
    EXPECT_NE(rejected.find("550"), std::string::npos) << rejected;

    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SmtpSenderTest, ServerCertificatesAreChecked) {
    SmtpMailSender trusting{SmtpOptions{}};
    for (const char* listener : {"starttls", "smtps"}) {
        const std::string error = sendError(trusting, settingsFor(listener), "a@x.ru");
        EXPECT_NE(error.find("сертификат сервера не прошёл проверку"), std::string::npos) << error;
    }
    EXPECT_TRUE(server.messages().empty());
    EXPECT_FALSE(trusting.testConnection(settingsFor("smtps")));
}

TEST_F(SmtpSenderTest, ConnectionTestGreetsAndQuitsWithoutLoginOrMail) {
    EXPECT_TRUE(sender.testConnection(settingsFor("starttls", true, "wrong")));
    const std::vector<std::string> expected = {"starttls EHLO tls=False", "starttls EHLO tls=True",
                                               "starttls NOOP", "starttls QUIT"};
    EXPECT_EQ(server.events(), expected);
    EXPECT_TRUE(sender.testConnection(settingsFor("smtps")));
    EXPECT_TRUE(sender.testConnection(settingsFor("plain", false)));
    EXPECT_FALSE(sawEvent("auth"));
    EXPECT_FALSE(sawEvent("MAIL"));

    MailSettings closed = settingsFor("plain");
    closed.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    EXPECT_FALSE(sender.testConnection(closed));
    closed.host = "";
    EXPECT_FALSE(sender.testConnection(closed));
}

} // namespace
} // namespace zorvant::watch
