// Message files that cannot simply be claimed and acted on: another watcher's claim in the way, a pipe,
// a name too long for the private name, a folder in its place, a writer that keeps the file across a
// tick, a program that cannot start. Real files throughout; what reaches the desktop is recorded.
#include "platform/services.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/watch_ticks.h"
#include "text/cp1251.h"
#include "watch/message_text.h"
#include "watch/watcher.h"

#include <cstring>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorvant::watch {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace text::literals;
using testing::tickAndDeliver;

struct Table {
    testing::TempFolder folder;
    testing::RecordingServices system;
    testing::RecordingMailSender mail;
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
    Watcher watcher{system, {{kSendMail, &mail}}, [this] { return now; }};

    std::vector<WatchRecord> run(std::string_view utf8Name) const {
        return {{folder.file(utf8Name), std::string(kRunProgram), std::string("prog %ТЕКСТ%"_cp)}};
    }
    // The errors of the ticks, in UTF-8.
    std::vector<std::string> errorsOf(int ticks, const std::vector<WatchRecord>& records) {
        std::vector<std::string> errors;
        for (int i = 0; i < ticks; ++i)
            for (const auto& report : tickAndDeliver(watcher, {records, {}, 1s}))
                if (report.kind == TickReport::Kind::Error)
                    errors.push_back(text::toUtf8(report.text));
        return errors;
    }
};

TEST(ClaimFaults, TwoWatchersOnOneTableNeverLoseAMessage) {
    Table t;
    testing::RecordingMailSender down;
    down.failWith = "connection refused";
    Watcher mailer(t.system, {{kSendMail, &down}}, [&] { return t.now; });
    const std::vector<WatchRecord> mailRows = {{t.folder.file("m.txt"), std::string(kSendMail), "x@y.z"}};
    t.folder.write("m.txt", "1\r\n");
    tickAndDeliver(mailer, {mailRows, {}, 1s}); // the server is down: the message stays claimed
    t.folder.write("m.txt", "2\r\n");
    t.errorsOf(2, t.run("m.txt"));
    EXPECT_TRUE(t.system.started.empty()) << "the other watcher took a message claimed by the first";
    EXPECT_EQ(t.folder.read("m.txt~zorvant"), "1\r\n");
    EXPECT_EQ(t.folder.read("m.txt"), "2\r\n");

    down.failWith.clear();
    t.now += 1min;
    tickAndDeliver(mailer, {mailRows, {}, 1s});
    t.errorsOf(1, t.run("m.txt"));
    ASSERT_EQ(down.sent.size(), 1u);
    EXPECT_EQ(down.sent[0].body, " 1");
    EXPECT_EQ(t.system.started, std::vector<std::string>{"prog  2"});
    EXPECT_FALSE(fs::exists(t.folder.path() / "m.txt~zorvant"));
}

TEST(ClaimFaults, APipeAtTheMessagePathIsReportedOnceAndLeftAlone) {
    Table t;
    ASSERT_EQ(::mkfifo((t.folder.path() / "m.txt").c_str(), 0600), 0);
    // A watcher that opens the pipe waits for a writer for ever: the ticks run on a thread of their own.
    auto ticking = std::async(std::launch::async, [&] { return t.errorsOf(3, t.run("m.txt")); });
    ASSERT_EQ(ticking.wait_for(10s), std::future_status::ready) << "the watcher hangs on the pipe";
    const auto errors = ticking.get();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("не является обычным файлом"), std::string::npos) << errors[0];
    EXPECT_TRUE(fs::is_fifo(t.folder.path() / "m.txt"));
    EXPECT_TRUE(t.system.started.empty());
}

TEST(ClaimFaults, AClaimThatFailsIsReportedOncePerStreak) {
    Table t;
    const std::string longName(250, 'n'); // fits, but not with the private suffix
    t.folder.write(longName, "A\r\n");
    const auto tooLong = t.errorsOf(3, t.run(longName));
    ASSERT_EQ(tooLong.size(), 1u);
    EXPECT_NE(tooLong[0].find("Не удаётся занять файл сообщений"), std::string::npos) << tooLong[0];
    EXPECT_NE(tooLong[0].find(std::strerror(ENAMETOOLONG)), std::string::npos) << tooLong[0];
    EXPECT_EQ(t.folder.read(longName), "A\r\n");

    t.folder.write("m.txt", "A\r\n");
    fs::create_directory(t.folder.path() / "m.txt~zorvant");
    const auto inTheWay = t.errorsOf(3, t.run("m.txt"));
    ASSERT_EQ(inTheWay.size(), 1u);
    EXPECT_NE(inTheWay[0].find("находится папка"), std::string::npos) << inTheWay[0];

    fs::remove(t.folder.path() / "m.txt~zorvant");
    EXPECT_TRUE(t.errorsOf(1, t.run("m.txt")).empty());
    EXPECT_EQ(t.system.started, std::vector<std::string>{"prog  A"});
    t.folder.write("m.txt", "B\r\n");
    fs::create_directory(t.folder.path() / "m.txt~zorvant");
    EXPECT_EQ(t.errorsOf(2, t.run("m.txt")).size(), 1u) << "a new streak is reported again";
}

// The writer of the message file keeps it over the claim's tick and lets go of it just after the next
// tick's first look.
struct WriterLetsGo : testing::RecordingServices {
    int looks = 0;
    platform::WriterState writerState(std::string_view) override {
        return ++looks <= 2 ? platform::WriterState::Held : platform::WriterState::Free;
    }
};

TEST(ClaimFaults, AFileItsWriterHoldsIsLeftForTheNextTickByEveryRow) {
    testing::TempFolder folder;
    WriterLetsGo system;
    testing::RecordingMailSender mail;
    Watcher watcher(system, {{kSendMail, &mail}});
    folder.write("m.txt", "A\r\n");
    const TickInput input{{{folder.file("m.txt"), std::string(kSendMail), "x@y.z"},
                           {folder.file("m.txt"), std::string(kRunProgram), "prog"}},
                          {},
                          1s};
    for (int tick = 0; tick < 2; ++tick) {
        EXPECT_TRUE(tickAndDeliver(watcher, input).empty());
        EXPECT_TRUE(system.started.empty()) << "a later row took the file the first row found busy";
    }
    EXPECT_EQ(tickAndDeliver(watcher, input).size(), 1u);
    ASSERT_EQ(mail.sent.size(), 1u);
    EXPECT_TRUE(system.started.empty());
}

TEST(ClaimFaults, AProgramThatCannotStartKeepsItsMessage) {
    testing::TempFolder folder;
    testing::RecordingMailSender mail;
    Watcher watcher(platform::systemServices(), {{kSendMail, &mail}});
    folder.write("m.txt", "A\r\n");
    const std::string missing = folder.file("нет программы");
    WatchRecord record{folder.file("m.txt"), std::string(kRunProgram),
                       "\"" + missing + "\" " + std::string(kPlaceholder)};
    std::vector<TickReport> errors;
    for (int i = 0; i < 3; ++i)
        for (const auto& report : tickAndDeliver(watcher, {{record}, {}, 1s}))
            errors.push_back(report);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].kind, TickReport::Kind::Error);
    EXPECT_NE(errors[0].text.find(missing), std::string::npos) << text::toUtf8(errors[0].text);
    EXPECT_EQ(folder.read("m.txt~zorvant"), "A\r\n");

    record.Target = "\"" + std::string(RECORD_ARGS_PATH) + "\" \"" + folder.file("args.txt") + "\" " +
                    std::string(kPlaceholder);
    const auto mended = tickAndDeliver(watcher, {{record}, {}, 1s});
    ASSERT_EQ(mended.size(), 1u);
    EXPECT_EQ(mended[0].kind, TickReport::Kind::Action);
    EXPECT_FALSE(fs::exists(folder.path() / "m.txt~zorvant"));
}

} // namespace
} // namespace zorvant::watch
