#include "watch/watcher.h"

#include "platform/wave_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/watch_ticks.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/message_text.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <thread>
#include <unistd.h>

#ifndef O_BINARY
#define O_BINARY 0 // Windows alone turns "\n" into "\r\n" unless told not to
#endif

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using testing::TempFolder;
using testing::tickAndDeliver;
using Kind = TickReport::Kind;

std::string inQuotes(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// PCM, one channel, 8000 Hz, 8 bits, four samples.
const std::string kTone("RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1F\x00\x00"
                        "\x40\x1F\x00\x00\x01\x00\x08\x00"
                        "data\x04\x00\x00\x00\x80\x90\x80\x70",
                        48);

// A tick over real files, with the desktop's part (shell, sound) recorded.
struct Tick : ::testing::Test {
    TempFolder folder;
    testing::RecordingServices system;
    testing::RecordingMailSender mail;
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
    Watcher watcher{system, {{kSendMail, &mail}}, [this] { return now; }};

    std::vector<TickReport> tick(const std::vector<WatchRecord>& records) {
        return tickAndDeliver(watcher, {records, {}, 5s});
    }
    bool exists(std::string_view utf8Name) const { return std::filesystem::exists(folder.native(utf8Name)); }
};

// Waits for a started process to write its file; started processes are not waited for.
std::string waitForFile(const TempFolder& folder, std::string_view utf8Name) {
    for (int i = 0; i < 500 && !std::filesystem::exists(folder.native(utf8Name)); ++i)
        std::this_thread::sleep_for(20ms);
    return folder.read(utf8Name);
}

TEST_F(Tick, RunActionStartsTheProgramWithTheMessageText) {
    Watcher real(platform::systemServices(), {{kSendMail, &mail}});
    folder.write("m.txt", "A\r\nB\r\n");
    folder.write("n.txt", "C\r\n");
    const std::string program = inQuotes(RECORD_ARGS_PATH);
    const std::vector<WatchRecord> records = {
        {folder.file("m.txt"), std::string(kRunProgram),
         program + " " + inQuotes(folder.file("with.txt")) + " " + std::string(kPlaceholder) + " /x"},
        {folder.file("n.txt"), std::string(kRunProgram),
         program + " " + inQuotes(folder.file("without.txt")) + " Z"},
    };
    const auto reports = real.tick({records, {}, 5s});
    EXPECT_EQ(waitForFile(folder, "with.txt"), "A\nB\n/x\n");
    EXPECT_EQ(waitForFile(folder, "without.txt"), "Z\n"); // no placeholder: started as it stands
    EXPECT_FALSE(exists("m.txt"));
    EXPECT_FALSE(exists("n.txt"));
    ASSERT_EQ(reports->size(), 2u);
    EXPECT_EQ((*reports)[0].kind, Kind::Action);
    EXPECT_EQ((*reports)[0].messageFile, records[0].MessageFile);
    EXPECT_EQ((*reports)[0].target, program + " " + inQuotes(folder.file("with.txt")) + "  A B /x");
    EXPECT_EQ((*reports)[0].text, " A B");
}

TEST_F(Tick, OpenActionOnTheMessageFileOpensACopy) {
    folder.write("sig.txt", "A\r\n");
    folder.write("sig_mess.txt", "old");
    const std::string sig = folder.file("sig.txt");
    tick({{sig, std::string(kOpenFile), sig}});
    EXPECT_EQ(system.opened, std::vector<std::string>{folder.file("sig_mess.txt")});
    EXPECT_EQ(folder.read("sig_mess.txt"), "A\r\n");
    EXPECT_FALSE(exists("sig.txt"));

    // Written differently, or quoted with a space in the path: no copy unless it is the same name.
    folder.write("sig.txt", "B\r\n");
    folder.write("my sig", "C\r\n");
    const std::string spaced = folder.file("my sig");
    tick({{sig, std::string(kOpenFile), folder.folderName() + "./sig.txt"},
          {spaced, std::string(kOpenFile), inQuotes(spaced)}});
    EXPECT_EQ(system.opened,
              (std::vector<std::string>{folder.file("sig_mess.txt"), folder.folderName() + "./sig.txt",
                                        folder.file("my sig_mess")}));
    EXPECT_EQ(folder.read("sig_mess.txt"), "A\r\n");
    EXPECT_EQ(folder.read("my sig_mess"), "C\r\n");
    EXPECT_FALSE(exists("sig.txt"));
}

TEST_F(Tick, OnlyTheFirstOfTwoRecordsOnOneFileActs) {
    folder.write("tone.wav", kTone);
    folder.write("m.txt", "A\r\n");
    const std::string m = folder.file("m.txt");
    const std::vector<WatchRecord> records = {
        {m, std::string(kPlaySound), folder.file("missing.wav")}, // cannot act: leaves the file
        {m, std::string(kOpenFile), "/docs/a.txt"},
        {m, std::string(kPlaySound), folder.file("tone.wav")},
    };
    EXPECT_EQ(tick(records).size(), 1u);
    EXPECT_EQ(system.opened, std::vector<std::string>{"/docs/a.txt"});
    EXPECT_TRUE(system.played.empty());
    EXPECT_FALSE(exists("m.txt"));
}

TEST_F(Tick, UnknownActionsAndEmptyNamesNeverTouchTheFile) {
    folder.write("m.txt", "A\r\n");
    const std::string m = folder.file("m.txt");
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(tick({{m, "Open", "/a"},
                          {m, text::fromUtf8("открыть файл"), "/a"},
                          {"", std::string(kOpenFile), "/a"}})
                        .empty());
    EXPECT_EQ(folder.read("m.txt"), "A\r\n");
    EXPECT_FALSE(exists("m.txt~zorvant"));
    EXPECT_TRUE(system.opened.empty());
}

// The fixture's watcher delivers e-mail alone: a message for Telegram is kept, never run as a program.
TEST_F(Tick, AMessageForAChannelTheWatcherLacksIsKeptAndNothingStarts) {
    folder.write("m.txt", "A\r\n");
    const auto reports = tick({{folder.file("m.txt"), std::string(kSendTelegram), "notify 42"}});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, Kind::Error);
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(exists("m.txt~zorvant"));
}

TEST_F(Tick, MissingSoundLeavesTheFileAndLaterRowsStillAct) {
    folder.write("a.txt", "A\r\n");
    folder.write("b.txt", "B\r\n");
    folder.write("my tone.wav", kTone);
    const std::vector<WatchRecord> records = {
        {folder.file("a.txt"), std::string(kPlaySound), folder.file("missing.wav")},
        {folder.file("b.txt"), std::string(kPlaySound), inQuotes(folder.file("my tone.wav"))},
    };
    EXPECT_EQ(tick(records).size(), 1u);
    EXPECT_EQ(folder.read("a.txt"), "A\r\n");
    EXPECT_EQ(system.played, std::vector<std::string>{folder.file("my tone.wav")}); // without the quotes
    EXPECT_FALSE(exists("b.txt"));
}

// The real check of the sound file, with the playing itself recorded.
struct CheckingServices : testing::RecordingServices {
    void playSound(std::string_view wavFile) override {
        platform::requireWaveFile(wavFile);
        played.emplace_back(wavFile);
    }
};

TEST_F(Tick, LastingErrorIsReportedOnceAndDoesNotStarveLaterRows) {
    CheckingServices checking;
    Watcher real(checking, {{kSendMail, &mail}});
    folder.write("junk.wav", "not a sound");
    const std::vector<WatchRecord> records = {
        {folder.file("a.txt"), std::string(kPlaySound), folder.file("junk.wav")},
        {folder.file("b.txt"), std::string(kSendMail), "x@y.z"},
    };
    std::vector<TickReport> all;
    for (const char* line : {"1\r\n", "2\r\n", "3\r\n"}) {
        folder.write("a.txt", "A\r\n");
        folder.write("b.txt", line);
        const auto reports = tickAndDeliver(real, {records, {}, 5s});
        all.insert(all.end(), reports.begin(), reports.end());
    }
    ASSERT_EQ(mail.sent.size(), 3u);
    EXPECT_EQ(mail.sent[2].body, " 3");
    const auto errors = std::count_if(all.begin(), all.end(), [](auto& r) { return r.kind == Kind::Error; });
    EXPECT_EQ(errors, 1);
    EXPECT_NE(all[0].text.find(folder.file("junk.wav")), std::string::npos);
    EXPECT_TRUE(exists("a.txt~zorvant")); // the message is kept for when the sound is mended

    folder.write("junk.wav", kTone);
    const auto mended = tickAndDeliver(real, {records, {}, 5s});
    ASSERT_EQ(mended.size(), 1u);
    EXPECT_EQ(mended[0].kind, Kind::Action);
    EXPECT_FALSE(exists("a.txt~zorvant"));
    EXPECT_TRUE(exists("a.txt")); // the newest message waits for the next tick
    EXPECT_EQ(tickAndDeliver(real, {records, {}, 5s}).size(), 1u);
    EXPECT_FALSE(exists("a.txt"));
}

// Counts every attempt; fails for now while told to.
struct FlakyMail : MailSender {
    std::atomic<int> attempts = 0;
    bool failing = true;
    std::vector<std::string> bodies;
    DeliveryOutcome deliver(const Parcel& parcel, std::stop_token) override {
        ++attempts;
        if (failing)
            return {DeliveryOutcome::Kind::RetryLater, "454 Try again later"};
        bodies.push_back(parcel.text);
        return {};
    }
    bool testConnection(const MailSettings&, std::stop_token) override { return false; }
};

TEST_F(Tick, FailedMailIsKeptAndTriedAgainLaterAndLater) {
    FlakyMail flaky;
    Watcher mailer(system, {{kSendMail, &flaky}}, [this] { return now; });
    folder.write("m.txt", "A\r\n");
    const TickInput input{{{folder.file("m.txt"), std::string(kSendMail), "x@y.z"}}, {}, 5s};
    std::vector<int> attemptTicks;
    std::vector<TickReport> errors;
    for (int t = 0; t < 40; ++t, now += 5s) {
        const int before = flaky.attempts;
        const auto reports = tickAndDeliver(mailer, input);
        errors.insert(errors.end(), reports.begin(), reports.end());
        if (flaky.attempts > before)
            attemptTicks.push_back(t);
        if (t == 2)
            folder.write("m.txt", "B\r\n"); // a newer message waits behind the kept one
    }
    EXPECT_EQ(attemptTicks, (std::vector<int>{0, 1, 3, 7, 15, 31}));
    ASSERT_EQ(errors.size(), 1u); // once for the whole streak, in the server's words
    EXPECT_EQ(errors[0].kind, Kind::Error);
    EXPECT_EQ(errors[0].text, "454 Try again later");
    EXPECT_EQ(folder.read("m.txt~zorvant"), "A\r\n");

    flaky.failing = false;
    now += 10min;
    for (int t = 0; t < 2; ++t, now += 5s)
        tickAndDeliver(mailer, input);
    EXPECT_EQ(flaky.bodies, (std::vector<std::string>{" A", " B"}));
    EXPECT_FALSE(exists("m.txt~zorvant"));
    EXPECT_FALSE(exists("m.txt"));

    // A new streak is reported again.
    flaky.failing = true;
    folder.write("m.txt", "C\r\n");
    EXPECT_EQ(tickAndDeliver(mailer, input).size(), 1u);
}

TEST_F(Tick, KeptMailWaitsForItsOwnRecordUntilThatRecordIsGone) {
    FlakyMail flaky;
    Watcher mailer(system, {{kSendMail, &flaky}}, [this] { return now; });
    folder.write("m.txt", "A\r\n");
    const std::string m = folder.file("m.txt");
    const WatchRecord mailRecord{m, std::string(kSendMail), "x@y.z"};
    const WatchRecord openRecord{m, std::string(kOpenFile), "/docs/a.txt"};
    tickAndDeliver(mailer, {{mailRecord, openRecord}, {}, 5s});
    now += 5s;
    tickAndDeliver(mailer, {{mailRecord, openRecord}, {}, 5s});
    EXPECT_TRUE(system.opened.empty());
    EXPECT_TRUE(exists("m.txt~zorvant"));
    tickAndDeliver(mailer, {{openRecord}, {}, 5s}); // the mail record was deleted from the table
    EXPECT_EQ(system.opened, std::vector<std::string>{"/docs/a.txt"});
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(Tick, MessageClaimedBeforeACrashIsActedOnFirst) {
    folder.write("m.txt~zorvant", "OLD\r\n");
    folder.write("m.txt", "NEW\r\n");
    const std::vector<WatchRecord> records = {{folder.file("m.txt"), std::string(kSendMail), "x@y.z"}};
    tick(records);
    tick(records);
    EXPECT_TRUE(tick(records).empty());
    ASSERT_EQ(mail.sent.size(), 2u);
    EXPECT_EQ(mail.sent[0].body, " OLD");
    EXPECT_EQ(mail.sent[1].body, " NEW");
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(Tick, FileItsWriterStillHoldsWaitsForTheNextTick) {
    folder.write("m.txt", "A\r\n");
    const std::vector<WatchRecord> records = {{folder.file("m.txt"), std::string(kSendMail), "x@y.z"}};
    const int writer = ::open((folder.path() / "m.txt").string().c_str(), O_WRONLY | O_APPEND | O_BINARY);
    ASSERT_NE(writer, -1);
    EXPECT_TRUE(tick(records).empty());
    ASSERT_EQ(::write(writer, "B\r\n", 3), 3); // the writer finishes its line after the claim
    ::close(writer);
    EXPECT_EQ(tick(records).size(), 1u);
    ASSERT_EQ(mail.sent.size(), 1u);
    EXPECT_EQ(mail.sent[0].body, " A B");
}

// Holds every program start until released.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false, released = false;
    int passes = 0;
    void pass() {
        std::unique_lock lock(mutex);
        ++passes;
        entered = true;
        changed.notify_all();
        changed.wait(lock, [this] { return released; });
    }
    // False when no start came within ten seconds: the tick never got to it.
    bool waitForEntry() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [this] { return entered; });
    }
    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

struct SlowStart : testing::RecordingServices {
    Gate gate;
    void startCommandLine(std::string_view) override { gate.pass(); }
};

TEST_F(Tick, TickThatStartsWhileOneRunsDoesNothing) {
    SlowStart slow;
    Watcher shared(slow, {{kSendMail, &mail}});
    folder.write("m.txt", "A\r\n");
    const TickInput input{{{folder.file("m.txt"), std::string(kRunProgram), "prog"}}, {}, 5s};
    std::thread first([&] { shared.tick(input); });
    if (slow.gate.waitForEntry())
        EXPECT_FALSE(shared.tick(input).has_value());
    else
        ADD_FAILURE() << "the first tick never started the program";
    slow.gate.release();
    first.join();
    EXPECT_TRUE(shared.tick(input)->empty());
    EXPECT_EQ(slow.gate.passes, 1);
}

TEST_F(Tick, EveryLineOfABusyWriterIsActedOnExactlyOnce) {
    Watcher real(platform::systemServices(), {{kSendMail, &mail}});
    const std::string m = folder.file("m.txt");
    const TickInput input{{{m, std::string(kSendMail), "x@y.z"}}, {}, 5s};
    constexpr int kLines = 300;
    std::atomic<bool> writing = true;
    std::atomic<int> ticks = 0;
    // Appends as the scripts do, opening and closing the file for every line, and lets ticks run between.
    std::thread writer([&] {
        for (int i = 0; i < kLines; ++i) {
            const std::string line = "L" + std::to_string(i) + "\r\n";
            // On Windows the open fails (a sharing violation) while a tick renames the file; the writer
            // tries again then.
            int fd = -1;
            for (int tries = 0; fd == -1 && tries < 1000; ++tries)
                if ((fd = ::open((folder.path() / "m.txt").string().c_str(),
                                 O_WRONLY | O_APPEND | O_CREAT | O_BINARY, 0644)) == -1)
                    std::this_thread::yield();
            if (fd != -1) {
                EXPECT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
                ::close(fd);
            }
            for (const int seen = ticks; i % 30 == 29 && ticks == seen;)
                std::this_thread::yield();
        }
        writing = false;
    });
    while (writing) {
        real.tick(input);
        ++ticks;
    }
    writer.join();
    for (int i = 0; i < 2; ++i)
        tickAndDeliver(real, input);
    std::map<std::string, int> seen;
    for (const auto& sent : mail.sent) {
        std::istringstream words(sent.body);
        for (std::string word; words >> word;)
            ++seen[word];
    }
    for (int i = 0; i < kLines; ++i)
        EXPECT_EQ(seen["L" + std::to_string(i)], 1) << "L" << i;
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kLines));
    EXPECT_GE(mail.sent.size(), 2u); // the ticks really claimed while lines were being written
    EXPECT_FALSE(exists("m.txt"));
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST(WatchTimer, ShowsEachErrorOfTheTickOnce) {
    TempFolder folder;
    testing::Forms forms(folder.folderName());
    auto& f = forms.form1;
    folder.write("junk.wav", "not a sound");
    forms.system.unplayable = {folder.file("junk.wav")};
    f.TableFiles.rows = {{folder.file("a.txt"), std::string(kPlaySound), folder.file("junk.wav")},
                         {folder.file("b.txt"), std::string(kSendMail), "x@y.z"}};
    forms.mail.failWith = "550 No such user";
    for (int i = 0; i < 3; ++i) {
        folder.write("a.txt", "A\r\n");
        folder.write("b.txt", "B\r\n");
        f.Timer1Timer();
        ASSERT_TRUE(f.watcher().waitForDeliveries(10s));
    }
    f.Timer1Timer(); // shows what the last delivery reported
    EXPECT_EQ(forms.dialogs.messages,
              (std::vector<std::string>{"cannot open " + folder.file("junk.wav"), "550 No such user"}));
}

} // namespace
} // namespace zorvant::watch
