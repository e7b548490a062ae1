// zorvant-cli watch running as another user than the one who owns the message files and their folder,
// as when the terminal writes under one account and the watcher runs under another: the real program,
// started as uid 65534 through setpriv. Needs root; skipped otherwise.
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/text_lines.h"
#include "text/cp1251.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <thread>
#include <unistd.h>

namespace zorvant::testing {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kSetpriv = "/usr/bin/setpriv";

bool canActAsAnotherUser() {
    return ::geteuid() == 0 && fs::exists(kSetpriv);
}

std::vector<std::string> asAnotherUser(std::vector<std::string> args) {
    args.insert(args.begin(), {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups"});
    return args;
}

// A settings file with one row that runs append_args with the message text, every second.
std::string settingsFile(const TempFolder& folder) {
    folder.write("Zorvant.ini", text::fromUtf8("Интервал просмотра=1\r\nФайл сообщений=" +
                                               (folder.path() / "m.txt").string() +
                                               ";Запустить приложение;\"" + APPEND_ARGS_PATH + "\" \"" +
                                               (folder.path() / "acted.txt").string() + "\" %ТЕКСТ%\r\n"));
    return (folder.path() / "Zorvant.ini").string();
}

TEST(OtherUser, AMessageInAFolderTheWatcherCannotWriteIsReported) {
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "needs root and setpriv";
    TempFolder folder; // the owner's alone to write in
    folder.write("m.txt", "A\r\n");
    ChildProcess once(
        asAnotherUser({ZORVANT_CLI_PATH, "watch", "--settings", settingsFile(folder), "--once"}),
        (folder.path() / "once.log").string());
    EXPECT_EQ(once.waitForExit(30s), 1);
    const std::string log = folder.read("once.log");
    EXPECT_NE(log.find("Не удаётся занять файл сообщений"), std::string::npos) << log;
    EXPECT_NE(log.find(std::strerror(EACCES)), std::string::npos) << log;
    EXPECT_EQ(folder.read("m.txt"), "A\r\n");
}

// The watcher gets no lease on a file it does not own, so it cannot ask whether the writer is still in
// the middle of a line; the writer here always is, for a while, at each line.
TEST(OtherUser, LinesOfAWriterTheWatcherCannotAskAboutAreNeverCut) {
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "needs root and setpriv";
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::all);
    ChildProcess watch(asAnotherUser({ZORVANT_CLI_PATH, "watch", "--settings", settingsFile(folder)}),
                       (folder.path() / "watch.log").string());
    constexpr int kLines = 40;
    for (int i = 0; i < kLines; ++i) {
        const int fd = ::open((folder.path() / "m.txt").c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
        ASSERT_NE(fd, -1);
        const std::string head = "L" + std::to_string(i) + "-";
        ASSERT_EQ(::write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
        std::this_thread::sleep_for(60ms);
        ASSERT_EQ(::write(fd, "end\r\n", 5), 5);
        ::close(fd);
        std::this_thread::sleep_for(20ms);
    }
    for (int i = 0; i < 150 && linesOf(folder.path() / "acted.txt").size() < kLines; ++i)
        std::this_thread::sleep_for(100ms);
    watch.terminate();
    EXPECT_EQ(watch.waitForExit(10s), 0);

    std::map<std::string, int> acted;
    for (const auto& line : linesOf(folder.path() / "acted.txt")) {
        EXPECT_TRUE(std::regex_match(line, std::regex("L[0-9]+-end"))) << "a cut line: " << line;
        ++acted[line];
    }
    for (int i = 0; i < kLines; ++i)
        EXPECT_EQ(acted["L" + std::to_string(i) + "-end"], 1) << i;
}

} // namespace
} // namespace zorvant::testing
