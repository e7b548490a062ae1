// A message file that changes between the tick's existence test and its claim: deleted, replaced by
// another file or by a folder, or still held open by its writer. Real files throughout; only the
// program the run action starts is recorded instead of started.
#include "platform/services.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "watch/mail_sender.h"
#include "watch/watcher.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zorvant::watch {
namespace {
namespace fs = std::filesystem;
using namespace text::literals;

// The system's own services, except that a sabotage runs right after the first existence test of the
// message file has answered yes.
class RacingServices : public platform::Services {
public:
    std::string messageFile;
    std::function<void()> sabotage;
    std::vector<std::string> started;

    bool plainFileExists(std::string_view name) override {
        const bool exists = real().plainFileExists(name);
        if (exists && name == messageFile && sabotage)
            std::exchange(sabotage, nullptr)();
        return exists;
    }
    bool deleteFile(std::string_view name) override { return real().deleteFile(name); }
    bool copyFileReplacing(std::string_view from, std::string_view to) override {
        return real().copyFileReplacing(from, to);
    }
    bool renameFile(std::string_view from, std::string_view to) override {
        return real().renameFile(from, to);
    }
    platform::WriterState writerState(std::string_view name) override { return real().writerState(name); }
    std::string readFile(std::string_view name) override { return real().readFile(name); }
    void shellOpen(std::string_view) override {}
    void startCommandLine(std::string_view commandLine) override { started.emplace_back(commandLine); }
    void playSound(std::string_view wavFile) override { real().playSound(wavFile); }

private:
    static platform::Services& real() { return platform::systemServices(); }
};

class NoMail : public MailSender {
public:
    DeliveryOutcome deliver(const Parcel&, std::stop_token) override { return {}; }
    bool testConnection(const MailSettings&, std::stop_token) override { return false; }
};

struct Race {
    testing::TempFolder folder;
    RacingServices system;
    NoMail mail;
    Watcher watcher{system, {{kSendMail, &mail}}};
    TickInput input;
    std::vector<TickReport> reports;

    Race() {
        system.messageFile = folder.file("m.txt");
        input = {{{system.messageFile, std::string(kRunProgram), std::string("prog %ТЕКСТ%"_cp)}},
                 {},
                 std::chrono::seconds(1)};
        folder.write("m.txt", "A\r\n");
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            if (auto done = watcher.tick(input))
                reports.insert(reports.end(), done->begin(), done->end());
    }
    // Everything in the folder but the message file's own name.
    std::vector<std::string> strayFiles() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder.path()))
            if (item.path().filename() != "m.txt")
                names.push_back(item.path().filename().string());
        return names;
    }
};

TEST(MessageRace, AFileDeletedBeforeTheClaimIsNoMessage) {
    Race race;
    race.system.sabotage = [&] { fs::remove(race.folder.path() / "m.txt"); };
    race.ticks(3);
    EXPECT_TRUE(race.system.started.empty());
    EXPECT_TRUE(race.reports.empty());
    EXPECT_TRUE(race.strayFiles().empty());
}

TEST(MessageRace, AFileReplacedBeforeTheClaimIsActedOnOnceWithItsNewText) {
    Race race;
    race.system.sabotage = [&] {
        race.folder.write("new.txt", "B\r\n");
        fs::rename(race.folder.path() / "new.txt", race.folder.path() / "m.txt");
    };
    race.ticks(3);
    EXPECT_EQ(race.system.started, std::vector<std::string>{"prog  B"});
    EXPECT_FALSE(fs::exists(race.folder.path() / "m.txt"));
    EXPECT_TRUE(race.strayFiles().empty());
}

TEST(MessageRace, AFolderPutInTheFilesPlaceIsLeftWhereItIs) {
    Race race;
    race.system.sabotage = [&] {
        fs::remove(race.folder.path() / "m.txt");
        fs::create_directory(race.folder.path() / "m.txt");
        race.folder.write("m.txt/inside.txt", "keep");
    };
    race.ticks(3);
    EXPECT_TRUE(race.system.started.empty());
    EXPECT_TRUE(fs::is_directory(race.folder.path() / "m.txt")) << "the user's folder was moved away";
    EXPECT_EQ(race.folder.read("m.txt/inside.txt"), "keep");
    EXPECT_TRUE(race.strayFiles().empty());
}

TEST(MessageRace, AFileStillHeldByItsWriterWaitsForTheLastLine) {
    Race race;
    int writer = -1;
    race.system.sabotage = [&] {
        writer = ::open((race.folder.path() / "m.txt").c_str(), O_WRONLY | O_APPEND);
    };
    race.ticks(2);
    ASSERT_NE(writer, -1);
    EXPECT_TRUE(race.system.started.empty()) << "acted on a file its writer still held";
    ASSERT_EQ(::write(writer, "B\r\n", 3), 3);
    ::close(writer);
    race.ticks(2);
    EXPECT_EQ(race.system.started, std::vector<std::string>{"prog  A B"});
    EXPECT_TRUE(race.strayFiles().empty());
}

} // namespace
} // namespace zorvant::watch
