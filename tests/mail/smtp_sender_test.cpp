#include "support/smtp_test_server.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/smtp_sender.h"
#include "watch/watch_record.h"

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

    static DeliveryOutcome deliver(MailSender& sender, const MailSettings& settings,
                                   std::string_view recipients, std::string_view body = " x") {
        return sender.deliver(
            {"m.txt", std::string(kSendMail), std::string(recipients), std::string(body), settings}, {});
    }
    // The outcome's text in UTF-8, with what became of the message before it.
    static std::string said(const DeliveryOutcome& outcome) {
        const char* kinds[] = {"delivered", "refusals", "retry", "aside"};
        return std::string(kinds[static_cast<int>(outcome.kind)]) + ": " + text::toUtf8(outcome.reason);
    }

    bool sawEvent(std::string_view prefix) const {
        const auto events = server.events();
        return std::any_of(events.begin(), events.end(),
                           [&](const auto& e) { return e.starts_with(prefix); });
    }

    SmtpTestServer server{
        SmtpTestServer::Options{{"nobody@example.ru", "other@example.ru"}, {"busy@example.ru"}, {}, 0}};
    SmtpMailSender sender{SmtpOptions{server.caFile()}};
};

TEST_F(SmtpSenderTest, TheServerReadsEveryPartOfAMessageSentOverStartTlsWithLogin) {
    EXPECT_EQ(said(deliver(sender, settingsFor("starttls"),
                           std::string("a@x.ru, \"Петров, Иван\" <ivan@y.ru>,"_cp), " Цена 250,5 SBER"_cp)),
              "delivered: ");
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
    deliver(sender, settingsFor("smtps"), "a@x.ru", " first");
    MailSettings plain = settingsFor("plain", false, "typed but unused");
    plain.returnAddress = "robot@example.ru";
    plain.subject = "Signal: SBER  up";
    deliver(sender, plain, "b@x.ru", " second");
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
    deliver(sender, settings, "a@x.ru", body);
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["subject"].str(), text::toUtf8(subject));
    EXPECT_EQ(messages[0]["body"].str(), text::toUtf8(body) + "\r\n");
    EXPECT_EQ(messages[0]["content_transfer_encoding"].str(), "quoted-printable");
    EXPECT_TRUE(messages[0]["defects"].array().empty());
}

TEST_F(SmtpSenderTest, WhatBecomesOfAMessageFollowsTheServersAnswer) {
    MailSettings closed = settingsFor("plain");
    closed.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    const struct {
        MailSettings settings;
        std::string recipients;
        std::vector<std::string> saying;
    } cases[] = {
        {settingsFor("starttls", true, "wrong"),
         "a@x.ru",
         {"aside: ", "отклонил имя пользователя или пароль", "535"}},
        {closed, "a@x.ru", {"retry: ", "не принимает соединение", closed.host}},
        {settingsFor("plain", false),
         "a@x.ru, nobody@example.ru",
         {"refusals: ", "nobody@example.ru (550 5.1.1 <nobody@example.ru>: Recipient address rejected"}},
        {settingsFor("plain", false),
         "nobody@example.ru, other@example.ru",
         {"aside: ", "не принял ни одного получателя", "other@example.ru (550"}},
        {settingsFor("plain", false), "busy@example.ru, nobody@example.ru", {"retry: ", "450 4.2.1"}},
    };
    for (const auto& [settings, recipients, saying] : cases) {
        const std::string outcome = said(deliver(sender, settings, recipients));
        for (const auto& words : saying)
            EXPECT_NE(outcome.find(words), std::string::npos) << recipients << ": " << outcome;
    }
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["envelope_to"].strings(), std::vector<std::string>{"a@x.ru"});
}

TEST_F(SmtpSenderTest, APasswordNeverGoesWithoutTls) {
    const std::string outcome = said(deliver(sender, settingsFor("plain"), "a@x.ru"));
    EXPECT_NE(outcome.find("retry: "), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("STARTTLS"), std::string::npos) << outcome;
    EXPECT_FALSE(sawEvent("auth")) << "the server was offered the password in clear";
    EXPECT_FALSE(sawEvent("plain MAIL"));
    EXPECT_TRUE(server.messages().empty());
    // Without a login, a server without TLS still gets its mail.
    EXPECT_EQ(said(deliver(sender, settingsFor("plain", false), "a@x.ru")), "delivered: ");
}

TEST_F(SmtpSenderTest, ServerCertificatesAreChecked) {
    SmtpMailSender trusting{SmtpOptions{}};
    for (const char* listener : {"starttls", "smtps"}) {
        const std::string outcome = said(deliver(trusting, settingsFor(listener), "a@x.ru"));
        EXPECT_NE(outcome.find("retry: "), std::string::npos) << outcome;
        EXPECT_NE(outcome.find("сертификат сервера не прошёл проверку"), std::string::npos) << outcome;
    }
    EXPECT_TRUE(server.messages().empty());
    EXPECT_FALSE(trusting.testConnection(settingsFor("smtps"), {}));
}

TEST_F(SmtpSenderTest, ConnectionTestGreetsAndQuitsWithoutLoginOrMail) {
    EXPECT_TRUE(sender.testConnection(settingsFor("starttls", true, "wrong"), {}));
    const std::vector<std::string> expected = {"starttls EHLO tls=False", "starttls EHLO tls=True",
                                               "starttls NOOP", "starttls QUIT"};
    EXPECT_EQ(server.events(), expected);
    EXPECT_TRUE(sender.testConnection(settingsFor("smtps"), {}));
    EXPECT_TRUE(sender.testConnection(settingsFor("plain", false), {}));
    EXPECT_FALSE(sawEvent("auth"));
    EXPECT_FALSE(sawEvent("MAIL"));

    MailSettings closed = settingsFor("plain");
    closed.host = server.address() + ":" + std::to_string(testing::closedPort(server.address()));
    EXPECT_FALSE(sender.testConnection(closed, {}));
    closed.host = "";
    EXPECT_FALSE(sender.testConnection(closed, {}));
}

} // namespace
} // namespace zorvant::watch
