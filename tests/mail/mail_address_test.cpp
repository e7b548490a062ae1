#include "text/cp1251.h"
#include "watch/mail_address.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace text::literals;

TEST(MailAddress, ReadsTheThreeMailboxFormsAndTrimsThem) {
    const std::string cyrillicName = std::string("Иван Петров"_cp);
    const struct {
        std::string text;
        Mailbox expected;
    } cases[] = {
        {"robot@example.ru", {"", "robot@example.ru"}},
        {"  robot@example.ru\t", {"", "robot@example.ru"}},
        {cyrillicName + " <ivan@example.ru>", {cyrillicName, "ivan@example.ru"}},
        {cyrillicName + "<ivan@example.ru>", {cyrillicName, "ivan@example.ru"}},
        {"\"Petrov, Ivan\" < ivan@example.ru >", {"Petrov, Ivan", "ivan@example.ru"}},
        {"\"a \\\"b\\\" c\" <x@example.ru>", {"a \"b\" c", "x@example.ru"}},
        {"ivan@example.ru (" + cyrillicName + ")", {cyrillicName, "ivan@example.ru"}},
        {"ivan@example.ru(Ivan", {"Ivan", "ivan@example.ru"}},
        {"\"x <y@z>\" <real@example.ru>", {"x <y@z>", "real@example.ru"}},
        {"", {"", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseMailbox(c.text), c.expected) << c.text;
}

TEST(MailAddress, SplitsListsAtCommasOutsideQuotes) {
    using List = std::vector<std::string>;
    EXPECT_EQ(splitMailboxList("a@x.ru,b@y.ru"), (List{"a@x.ru", "b@y.ru"}));
    EXPECT_EQ(splitMailboxList("a@x.ru, "), (List{"a@x.ru"}));
    EXPECT_EQ(splitMailboxList(" , ,a@x.ru ,, b@y.ru ,"), (List{"a@x.ru", "b@y.ru"}));
    EXPECT_EQ(splitMailboxList("\"Petrov, Ivan\" <i@x.ru>, b@y.ru"),
              (List{"\"Petrov, Ivan\" <i@x.ru>", "b@y.ru"}));
    EXPECT_EQ(splitMailboxList("\"a\\\", b\" <a@x.ru>,c@x.ru"), (List{"\"a\\\", b\" <a@x.ru>", "c@x.ru"}));
    EXPECT_EQ(splitMailboxList(""), List{});
    EXPECT_EQ(splitMailboxList(" ,  , "), List{});
    // An unclosed quote keeps the rest together rather than inventing recipients.
    EXPECT_EQ(splitMailboxList("\"a, b@x.ru"), (List{"\"a, b@x.ru"}));
}

TEST(MailAddress, SenderNameIsTheWholeReturnAddress) {
    EXPECT_EQ(senderOf("robot@example.ru"), (Mailbox{"robot@example.ru", "robot@example.ru"}));
    const std::string typed = std::string("Робот <robot@example.ru>"_cp);
    EXPECT_EQ(senderOf(typed), (Mailbox{typed, "robot@example.ru"}));
    EXPECT_EQ(senderOf("robot@example.ru (Robot)"),
              (Mailbox{"robot@example.ru (Robot)", "robot@example.ru"}));
}

} // namespace
} // namespace zorvant::watch
