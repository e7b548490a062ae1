// The real mail sender against servers that fail in the ways networks do: the send never counts as
// delivered unless the server confirmed it, every wait ends within its bound, a stop cuts a send short,
// and no server, however slow, holds up the tick or the end of zorvant-cli watch.
#include "broken_smtp_server.h"
#include "support/child_process.h"
#include "support/fakes.h"
#include "support/smtp_test_server.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "watch/smtp_sender.h"
#include "watch/watcher.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::BrokenSmtpServer;

MailSettings settingsFor(const BrokenSmtpServer& server) {
    return {server.host(), "robot@example.ru", "Signal", false, "", ""};
}

// Short limits, so that a server that never answers costs seconds, not minutes.
SmtpOptions shortTimeouts() {
    return {"", 1s, 2s, 3s, 1s};
}

struct Outcome {
    DeliveryOutcome outcome;
    std::chrono::milliseconds took;
};

Outcome deliverThrough(const BrokenSmtpServer& server, std::stop_token stop = {},
                       SmtpOptions options = shortTimeouts()) {
    SmtpMailSender sender(options);
    const auto start = Clock::now();
    DeliveryOutcome outcome = sender.deliver(
        {"m.txt", std::string(kSendMail), "a@b.ru", " price 250,5", settingsFor(server)}, stop);
    return {outcome, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)};
}

bool received(const BrokenSmtpServer& server, std::string_view command) {
    const auto commands = server.commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

TEST(SmtpFaults, AServerThatHangsUpIsAFailedSend) {
    for (const char* mode : {"drop-after-greeting", "drop-after-data"}) {
        SCOPED_TRACE(mode);
        BrokenSmtpServer server(mode);
        const Outcome sent = deliverThrough(server);
        EXPECT_EQ(sent.outcome.kind, DeliveryOutcome::Kind::RetryLater)
            << "a message the server never confirmed was taken as sent";
        EXPECT_LT(sent.took, 5s);
        if (std::string_view(mode) == "drop-after-data") {
            EXPECT_TRUE(received(server, "end of data")) << "the whole message reached the server first";
        }
    }
}

TEST(SmtpFaults, EveryWaitEndsWithinItsBound) {
    for (const char* mode : {"silent", "silent-after-ehlo", "stall-after-data"}) {
        SCOPED_TRACE(mode);
        BrokenSmtpServer server(mode);
        const Outcome sent = deliverThrough(server);
        EXPECT_EQ(sent.outcome.kind, DeliveryOutcome::Kind::RetryLater);
        EXPECT_NE(text::toUtf8(sent.outcome.reason).find("не ответил вовремя"), std::string::npos)
            << text::toUtf8(sent.outcome.reason);
        EXPECT_LT(sent.took, 5s);
    }
    for (const char* mode : {"silent", "silent-after-ehlo"}) {
        BrokenSmtpServer server(mode);
        SmtpMailSender tester(shortTimeouts());
        const auto start = Clock::now();
        EXPECT_FALSE(tester.testConnection(settingsFor(server), {})) << mode;
        EXPECT_LT(Clock::now() - start, 5s) << mode;
    }
    // A server that takes the message but never answers QUIT: the message went, and the wait for QUIT
    // is short.
    BrokenSmtpServer mute("silent-at-quit");
    const Outcome sent = deliverThrough(mute);
    EXPECT_EQ(sent.outcome.kind, DeliveryOutcome::Kind::Delivered) << text::toUtf8(sent.outcome.reason);
    EXPECT_TRUE(received(mute, "QUIT"));
    EXPECT_LT(sent.took, 3s);
}

TEST(SmtpFaults, AStopCutsASendShortWhereverItWaits) {
    for (const char* mode : {"silent", "stall-after-data"}) {
        SCOPED_TRACE(mode);
        BrokenSmtpServer server(mode);
        std::stop_source stop;
        auto sending = std::async(std::launch::async, [&] {
            return deliverThrough(server, stop.get_token(), SmtpOptions{"", 600s, 600s, 900s, 5s});
        });
        std::this_thread::sleep_for(1s); // waiting for the greeting, or for the reply after the message
        const auto stopped = Clock::now();
        stop.request_stop();
        ASSERT_EQ(sending.wait_for(3s), std::future_status::ready);
        EXPECT_LT(Clock::now() - stopped, 1500ms);
        EXPECT_EQ(sending.get().outcome.kind, DeliveryOutcome::Kind::RetryLater);
    }
}

TEST(SmtpFaults, AServerThatNeverAnswersHoldsUpNoOtherRow) {
    BrokenSmtpServer server("silent");
    testing::TempFolder folder;
    testing::RecordingServices system;
    SmtpMailSender sender(shortTimeouts());
    Watcher watcher(system, {{kSendMail, &sender}});
    folder.write("m.txt", "A\r\n");
    folder.write("run.txt", "B\r\n");
    const TickInput input{{{folder.file("m.txt"), std::string(kSendMail), "a@b.ru"},
                           {folder.file("run.txt"), std::string(kRunProgram), "prog"}},
                          settingsFor(server),
                          1s};

    const auto start = Clock::now();
    const auto reports = watcher.tick(input);
    EXPECT_LT(Clock::now() - start, 1s);
    ASSERT_TRUE(reports.has_value());
    ASSERT_EQ(reports->size(), 1u);
    EXPECT_EQ(system.started, std::vector<std::string>{"prog"});
    folder.write("run.txt", "C\r\n");
    EXPECT_EQ(watcher.tick(input)->size(), 1u) << "the next tick waited for the mail";

    ASSERT_TRUE(watcher.waitForDeliveries(10s));
    const auto delivered = watcher.takeReports();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].kind, TickReport::Kind::Error);
    EXPECT_NE(text::toUtf8(delivered[0].text).find("не ответил вовремя"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "m.txt~zorvant"));
}

// A settings file whose only row e-mails m.txt through the given server.
std::string mailSettings(const testing::TempFolder& folder, const std::string& host) {
    folder.write("Zorvant.ini",
                 text::fromUtf8("Интервал просмотра=1\r\nПочтовый сервер=" + host +
                                "\r\nОбратный адрес=robot@example.ru\r\nФайл сообщений=" +
                                (folder.path() / "m.txt").string() + ";Отправить эл. почтой;a@b.ru\r\n"));
    return (folder.path() / "Zorvant.ini").string();
}

TEST(SmtpFaults, WatchEndsAtOnceOnAStopMidSendAndSendsTheMessageNextTime) {
    testing::TempFolder folder;
    folder.write("m.txt", "A\r\n");
    {
        BrokenSmtpServer stalled("stall-after-data");
        testing::ChildProcess watch(
            {ZORVANT_CLI_PATH, "watch", "--settings", mailSettings(folder, stalled.host())},
            (folder.path() / "watch.log").string());
        for (int i = 0; i < 500 && !received(stalled, "end of data"); ++i)
            std::this_thread::sleep_for(20ms);
        ASSERT_TRUE(received(stalled, "end of data"));
        const auto stopped = Clock::now();
        watch.interrupt();
        EXPECT_EQ(watch.waitForExit(5s), 0);
        EXPECT_LT(Clock::now() - stopped, 2s);
    }
    EXPECT_EQ(folder.read("m.txt~zorvant"), "A\r\n");

    testing::SmtpTestServer server;
    testing::ChildProcess once(
        {ZORVANT_CLI_PATH, "watch", "--settings", mailSettings(folder, server.host("plain")), "--once"},
        (folder.path() / "once.log").string());
    EXPECT_EQ(once.waitForExit(30s), 0);
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["body"].str(), " A\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "m.txt~zorvant"));
}

TEST(SmtpFaults, WatchOnceWaitsForTheSendsItStarted) {
    testing::TempFolder folder;
    folder.write("m.txt", "A\r\n");
    BrokenSmtpServer slow("slow-after-data");
    testing::ChildProcess once(
        {ZORVANT_CLI_PATH, "watch", "--settings", mailSettings(folder, slow.host()), "--once"},
        (folder.path() / "once.log").string());
    EXPECT_EQ(once.waitForExit(30s), 0) << folder.read("once.log");
    EXPECT_TRUE(received(slow, "end of data"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "m.txt~zorvant"));
    EXPECT_NE(folder.read("once.log").find("Отправить эл. почтой"), std::string::npos);
}

} // namespace
} // namespace zorvant::watch
