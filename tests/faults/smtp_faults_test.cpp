// The real mail sender against servers that fail in the ways networks do: the send reports an error
// (never success), within a bounded time, and a tick blocked on the network keeps later ticks from
// waiting on it.
#include "broken_smtp_server.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/smtp_sender.h"
#include "watch/watcher.h"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using testing::BrokenSmtpServer;

MailSettings settingsFor(const BrokenSmtpServer& server) {
    return {server.host(), "robot@example.ru", "Signal", false, "", ""};
}

// Short limits, so that a server that never answers costs seconds, not minutes.
SmtpOptions shortTimeouts() {
    return {"", 2, 3};
}

struct Outcome {
    std::string error; // UTF-8; empty when the send claimed success
    std::chrono::milliseconds took;
};

Outcome sendThrough(const BrokenSmtpServer& server) {
    SmtpMailSender sender(shortTimeouts());
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome;
    try {
        sender.send(settingsFor(server), "a@b.ru", " price 250,5");
    } catch (const Error& error) {
        outcome.error = text::toUtf8(error.what());
    }
    outcome.took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return outcome;
}

bool received(const BrokenSmtpServer& server, std::string_view command) {
    const auto commands = server.commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

TEST(SmtpFaults, AServerThatHangsUpIsAFailedSend) {
    for (const char* mode : {"drop-after-greeting", "drop-after-data"}) {
        SCOPED_TRACE(mode);
        BrokenSmtpServer server(mode);
        const Outcome outcome = sendThrough(server);
        EXPECT_NE(outcome.error, "") << "a message the server never confirmed was taken as sent";
        EXPECT_LT(outcome.took, 5s);
    }
    BrokenSmtpServer afterData("drop-after-data");
    sendThrough(afterData);
    EXPECT_TRUE(received(afterData, "end of data")) << "the whole message reached the server first";
}

TEST(SmtpFaults, AServerThatNeverAnswersTimesOut) {
    for (const char* mode : {"silent", "silent-after-ehlo"}) {
        SCOPED_TRACE(mode);
        BrokenSmtpServer server(mode);
        const Outcome outcome = sendThrough(server);
        EXPECT_NE(outcome.error.find("не ответил вовремя"), std::string::npos) << outcome.error;
        EXPECT_LT(outcome.took, 8s);

        SmtpMailSender tester(shortTimeouts());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(tester.testConnection(settingsFor(server)));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
    }
}

TEST(SmtpFaults, ATickBlockedOnASilentServerLeavesLaterTicksFree) {
    BrokenSmtpServer server("silent");
    testing::TempFolder folder;
    testing::RecordingServices system;
    SmtpMailSender sender(shortTimeouts());
    Watcher watcher(system, sender);
    folder.write("m.txt", "A\r\n");
    const TickInput input{
        {{folder.file("m.txt"), std::string(kSendMail), "a@b.ru"}}, settingsFor(server), 1s};

    auto first = std::async(std::launch::async, [&] { return watcher.tick(input); });
    std::this_thread::sleep_for(500ms); // the first tick is waiting on the server by now
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(watcher.tick(input).has_value()) << "a second tick ran while the first one was sending";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);

    ASSERT_EQ(first.wait_for(10s), std::future_status::ready);
    const auto reports = first.get();
    ASSERT_TRUE(reports.has_value());
    ASSERT_EQ(reports->size(), 1u);
    EXPECT_EQ(reports->front().kind, TickReport::Kind::Error);
    EXPECT_NE(text::toUtf8(reports->front().text).find("не ответил вовремя"), std::string::npos);
}

} // namespace
} // namespace zorvant::watch
