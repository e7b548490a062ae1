// Recipient lists as a hurried user types them: what cannot be a mailbox is refused by name before any
// connection is made, instead of reaching the server as a broken command or an overlong header line.
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/mail_message.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {

const MailStamp kStamp{std::chrono::sys_seconds(std::chrono::seconds(1'765'000'000)), "id1"};

std::string refusal(std::string_view returnAddress, std::string_view recipients) {
    const MailSettings settings{"smtp.example.ru", std::string(returnAddress), "s", false, "", ""};
    try {
        composeMail(settings, recipients, " text", kStamp);
        return "";
    } catch (const Error& error) {
        return text::toUtf8(error.what());
    }
}

TEST(RecipientFaults, WhatCannotBeAMailboxIsRefusedByName) {
    const std::string unclosedQuote = text::fromUtf8("a@b.ru, \"Иванов, Иван ivan@c.ru, d@e.ru");
    EXPECT_NE(refusal("robot@x.ru", unclosedQuote).find("Недопустимый адрес"), std::string::npos);
    EXPECT_NE(refusal("robot@x.ru", "first last@x.ru").find("first last@x.ru"), std::string::npos);
    EXPECT_NE(refusal("robot@x.ru", std::string(250, 'a') + "@x.ru").find("Недопустимый адрес"),
              std::string::npos);
    EXPECT_NE(refusal("Robot robot@x.ru", "a@b.ru").find("Robot robot@x.ru"), std::string::npos);

    // Real lists still go through, the longest address SMTP allows included.
    EXPECT_EQ(
        refusal("Робот <robot@x.ru>", text::fromUtf8("a@b.ru, \"Петров, Иван\" <ivan@c.ru>, d@e.ru (Д)")),
        "");
    EXPECT_EQ(refusal("robot@x.ru", std::string(64, 'a') + "@" + std::string(185, 'b') + ".ru"), "");
}

} // namespace
} // namespace zorvant::watch
