#include "text/cp1251.h"
#include "text/error.h"
#include "watch/smtp_endpoint.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace text::literals;

TEST(SmtpEndpoint, PortAndTlsFollowTheServerName) {
    const struct {
        std::string mailhost;
        std::string url;
    } cases[] = {
        {"smtp.yandex.ru", "smtp://smtp.yandex.ru:25"},
        {" smtp.mail.ru ", "smtp://smtp.mail.ru:25"},
        {"smtp.gmail.com:587", "smtp://smtp.gmail.com:587"},
        {"smtp.gmail.com:465", "smtps://smtp.gmail.com:465"},
        {"127.0.0.1:2525", "smtp://127.0.0.1:2525"},
        {"[::1]:465", "smtps://[::1]:465"},
        {"[::1]", "smtp://[::1]:25"},
        {"mail_relay-1:1", "smtp://mail_relay-1:1"},
        {"host:65535", "smtp://host:65535"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSmtpEndpoint(c.mailhost).url(), c.url) << c.mailhost;
}

TEST(SmtpEndpoint, RefusesWhatIsNoServerName) {
    for (const std::string& bad :
         std::vector<std::string>{"host:0", "host:65536", "host:", "host:25x", "host:123456", ":25", "a b",
                                  "user@host", "host/path", "host:25:26", "[::1", "[]:25", "[::1]x", "[::g]",
                                  "host\r\nQUIT", std::string("почта.рф"_cp)})
        EXPECT_THROW(parseSmtpEndpoint(bad), Error) << bad;
    try {
        parseSmtpEndpoint("  ");
        FAIL() << "an empty server name was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(text::toUtf8(error.what()), "Не указан почтовый сервер.");
    }
}

} // namespace
} // namespace zorvant::watch
