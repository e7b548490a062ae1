#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/header_encoding.h"
#include "watch/mail_message.h"
#include "watch/quoted_printable.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace text::literals;
using testing::visible;

const MailStamp kStamp{std::chrono::sys_seconds(std::chrono::seconds(1796692287)), "id1"};

MailSettings settingsWith(std::string returnAddress, std::string subject) {
    return {"smtp.example.ru", std::move(returnAddress), std::move(subject), false, "", ""};
}

std::vector<std::string> headerLines(const std::string& data) {
    std::vector<std::string> lines;
    const std::string head = data.substr(0, data.find("\r\n\r\n") + 2);
    for (std::size_t start = 0, end; (end = head.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(head.substr(start, end - start));
    return lines;
}

std::string header(const std::string& data, std::string_view name) {
    for (const auto& line : headerLines(data))
        if (line.starts_with(std::string(name) + ": "))
            return line.substr(name.size() + 2);
    return "(none)";
}

TEST(MailMessage, ComposesHeadersEnvelopeAndTheOneBodyLine) {
    const ComposedMail mail = composeMail(settingsWith(std::string("Робот <robot@example.ru>"_cp),
                                                       std::string("Сигнал: покупка SBER — ёлка"_cp)),
                                          "a@x.ru, \"Petrov, Ivan\" <ivan@y.ru>,", " A B", kStamp);
    EXPECT_EQ(mail.envelopeSender, "robot@example.ru");
    EXPECT_EQ(mail.envelopeRecipients, (std::vector<std::string>{"a@x.ru", "ivan@y.ru"}));
    const std::string expected =
        "From: =?windows-1251?B?0O7h7vIgPHJvYm90QGV4YW1wbGUucnU+?= <robot@example.ru>\r\n"
        "To: a@x.ru, \"Petrov, Ivan\" <ivan@y.ru>\r\n"
        "Subject: =?windows-1251?B?0ejj7eDrOiDv7urz7+rg?= SBER\r\n"
        " =?windows-1251?B?lyC46+rg?=\r\n"
        "Date: Tue, 08 Dec 2026 01:11:27 +0000\r\n"
        "Message-ID: <id1@example.ru>\r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: text/plain; charset=Windows-1251\r\n"
        "Content-Transfer-Encoding: 8bit\r\n"
        "\r\n"
        " A B\r\n";
    EXPECT_EQ(mail.data, expected) << visible(mail.data);
}

TEST(MailMessage, PlainAsciiGoesOutAsTyped) {
    const auto bare = composeMail(settingsWith("robot@example.ru", "Signal:  SBER =x"), "a@x.ru", "", kStamp);
    EXPECT_EQ(header(bare.data, "From"), "robot@example.ru");
    EXPECT_EQ(header(bare.data, "Subject"), "Signal:  SBER =x");
    const auto named = composeMail(settingsWith("Robot \"R2\" <robot@example.ru>", ""), "a@x.ru", "", kStamp);
    EXPECT_EQ(header(named.data, "From"), "\"Robot \\\"R2\\\" <robot@example.ru>\" <robot@example.ru>");
    EXPECT_EQ(header(named.data, "Subject"), "");
    const auto cyrillicTo =
        composeMail(settingsWith("r@x.ru", "x"), std::string("Привет <p@x.ru>"_cp), "", kStamp);
    EXPECT_EQ(header(cyrillicTo.data, "To"), "=?windows-1251?B?z/Do4uXy?= <p@x.ru>");
}

TEST(MailMessage, EncodedRunsKeepTheirInnerBlanksAndWordsThatLookEncoded) {
    EXPECT_EQ(subjectTokens("Сиг  нал"_cp), (std::vector<std::string>{"=?windows-1251?B?0ejjICDt4Os=?="}));
    EXPECT_EQ(subjectTokens("a =?utf-8?B?eA==?= b"),
              (std::vector<std::string>{"a", "=?windows-1251?B?" + base64("=?utf-8?B?eA==?=") + "?=", "b"}));
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foo"), "Zm9v");
}

TEST(MailMessage, LongHeadersAreFoldedAndWordsStayShort) {
    std::string subject;
    for (int i = 0; i < 20; ++i)
        subject += std::string("Сигнал покупки "_cp);
    std::string recipients;
    for (int i = 0; i < 12; ++i)
        recipients += "trader" + std::to_string(i) + "@example.ru, ";
    const auto mail = composeMail(settingsWith("r@x.ru", subject), recipients, "x", kStamp);
    int continuation = 0;
    for (const auto& line : headerLines(mail.data)) {
        EXPECT_LE(line.size(), 76u) << line;
        continuation += line.starts_with(" ");
        for (auto at = line.find("=?"); at != std::string::npos; at = line.find("=?", at + 2))
            EXPECT_LE(line.find("?=", at + 17) + 2 - at, 67u) << line;
    }
    EXPECT_GT(continuation, 5);
    EXPECT_EQ(mail.envelopeRecipients.size(), 12u);

    // A short token opening a folded line does not stop the next fold; the first token never moves.
    const std::string a(70, 'a'), c(75, 'c');
    EXPECT_EQ(headerLine("Message-ID", {a, "b", c}), "Message-ID: " + a + "\r\n b\r\n " + c);
    EXPECT_EQ(headerLine("Subject", {"", "", c}), "Subject:  \r\n " + c);
}

TEST(MailMessage, LineBreaksInTextsCannotStartNewHeaders) {
    const auto mail = composeMail(settingsWith("Evil\r\nBcc: x@y.ru <r@x.ru>", "Hi\r\nBcc: spy@y.ru"),
                                  "a@x.ru", "x", kStamp);
    for (const auto& line : headerLines(mail.data))
        EXPECT_FALSE(line.starts_with("Bcc")) << visible(mail.data);
    EXPECT_TRUE(header(mail.data, "Subject").starts_with("=?windows-1251?B?"));
}

TEST(MailMessage, RefusesAddressesThatWouldBreakTheExchange) {
    const auto settings = settingsWith("r@x.ru", "x");
    EXPECT_THROW(composeMail(settingsWith("r@x.ru\r\nRCPT TO:e@x.ru", "x"), "a@x.ru", "", kStamp), Error);
    EXPECT_THROW(composeMail(settings, "a@x.ru\r\nDATA", "", kStamp), Error);
    EXPECT_THROW(composeMail(settings, "a@x.ru>, b@x.ru", "", kStamp), Error);
    try {
        composeMail(settings, " , ,", "", kStamp);
        FAIL() << "an empty recipient list was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(text::toUtf8(error.what()), "Не указан ни один адрес получателя письма.");
    }
}

TEST(MailMessage, BodiesThat8bitCannotCarryGoQuotedPrintable) {
    const auto settings = settingsWith("r@x.ru", "x");
    const std::string longest(kMaxLineLength, 'x');
    EXPECT_EQ(header(composeMail(settings, "a@x.ru", longest, kStamp).data, "Content-Transfer-Encoding"),
              "8bit");
    const auto lines = composeMail(settings, "a@x.ru", longest + "y", kStamp);
    EXPECT_EQ(header(lines.data, "Content-Transfer-Encoding"), "quoted-printable");
    const auto broken = composeMail(settings, "a@x.ru", "a\rb\nc", kStamp);
    EXPECT_NE(broken.data.find("\r\n\r\na=0Db=0Ac\r\n"), std::string::npos) << visible(broken.data);
}

TEST(QuotedPrintable, EncodesWhatIsNotLiteralAndBreaksSoftly) {
    EXPECT_EQ(quotedPrintable("a=b \xC0 c "), "a=3Db =C0 c=20");
    const std::string blanks(100, ' ');
    const std::string encoded = quotedPrintable(std::string(71, 'x') + blanks);
    for (std::size_t start = 0;;) {
        const auto end = encoded.find("\r\n", start);
        const std::string line = encoded.substr(start, end - start);
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_NE(line.back(), ' ') << "a blank before a line end is lost";
        if (end == std::string::npos)
            break;
        EXPECT_EQ(line.back(), '=');
        start = end + 2;
    }
}

TEST(MailStamp, DatesAndMessageIdsAsServersExpect) {
    EXPECT_EQ(mailDate(std::chrono::sys_seconds(std::chrono::seconds(951865509))),
              "Tue, 29 Feb 2000 23:05:09 +0000");
    EXPECT_EQ(mailDate(std::chrono::sys_seconds(std::chrono::seconds(0))), "Thu, 01 Jan 1970 00:00:00 +0000");
    EXPECT_EQ(messageId("u1", "robot@Mail.example.ru"), "<u1@Mail.example.ru>");
    EXPECT_EQ(messageId("u1", "robot"), "<u1@zorvant.local>");
    EXPECT_EQ(messageId("u1", "r@bad domain>"), "<u1@zorvant.local>");
    const MailStamp first = newMailStamp();
    const MailStamp second = newMailStamp();
    EXPECT_NE(first.uniqueId, second.uniqueId);
    EXPECT_LE(std::chrono::abs(first.date -
                               std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now())),
              std::chrono::seconds(5));
}

} // namespace
} // namespace zorvant::watch
