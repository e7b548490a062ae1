// zorvant-cli watch under load: 200 watched message files, four writer processes appending lines at
// random, a tick every second whose run action records every line it is given. Every line written must
// be acted on exactly once.
#include "line_tally.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <thread>

namespace zorvant::testing {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kFiles = 200;
constexpr int kWriters = 4;
constexpr int kWriteSeconds = 15;

struct LoadRun {
    TempFolder folder;
    std::vector<std::string> messageFiles;
    fs::path recorded = folder.path() / "recorded.txt";

    LoadRun() {
        std::string settings = "Интервал просмотра=1\r\n";
        const std::string action = "Файл сообщений=%s;Запустить приложение;\"" +
                                   std::string(APPEND_ARGS_PATH) + "\" \"" + recorded.string() +
                                   "\" %ТЕКСТ%\r\n";
        for (int i = 0; i < kFiles; ++i) {
            messageFiles.push_back((folder.path() / ("m" + std::to_string(i) + ".txt")).string());
            std::string line = action;
            line.replace(line.find("%s"), 2, messageFiles.back());
            settings += line;
        }
        folder.write("Zorvant.ini", text::fromUtf8(settings));
    }
    fs::path ledger(int writer) const { return folder.path() / ("ledger" + std::to_string(writer) + ".txt"); }
    std::string output(std::string_view name) const { return (folder.path() / name).string(); }
};

TEST(WatcherLoad, EveryWrittenLineIsActedOnExactlyOnce) {
    LoadRun run;
    ChildProcess watcher({ZORVANT_CLI_PATH, "watch", "--settings", run.output("Zorvant.ini")},
                         run.output("watch.log"));
    std::vector<std::unique_ptr<ChildProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        std::vector<std::string> argv = {MESSAGE_WRITER_PATH, run.ledger(w).string(), std::to_string(w),
                                         std::to_string(kWriteSeconds), std::to_string(1000 + w)};
        argv.insert(argv.end(), run.messageFiles.begin(), run.messageFiles.end());
        writers.push_back(std::make_unique<ChildProcess>(argv, run.output("writers.log")));
    }
    for (auto& writer : writers)
        ASSERT_EQ(writer->waitForExit(std::chrono::seconds(kWriteSeconds + 30)), 0);

    std::vector<fs::path> ledgers;
    for (int w = 0; w < kWriters; ++w)
        ledgers.push_back(run.ledger(w));
    const auto written = writtenLines(ledgers);
    // The watcher drains what is left within a few ticks; one more tick shows any late duplicate.
    for (int i = 0; i < 150 && linesOf(run.recorded).size() < written.size(); ++i)
        std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(1500ms);
    watcher.terminate();
    EXPECT_EQ(watcher.waitForExit(10s), 0);

    const auto acted = linesOf(run.recorded);
    const auto [duplicates, losses, unknown] = tally(written, acted);
    const std::size_t total = acted.size();
    std::cout << "watcher load: " << written.size() << " lines written, " << total << " acted on, "
              << duplicates << " duplicates, " << losses << " lost, " << unknown << " unknown\n";
    RecordProperty("linesWritten", static_cast<int>(written.size()));
    RecordProperty("linesActedOn", static_cast<int>(total));

    EXPECT_GT(written.size(), 1000u) << "too little load to show anything";
    EXPECT_EQ(duplicates, 0u);
    EXPECT_EQ(losses, 0u);
    EXPECT_EQ(unknown, 0u);
}

} // namespace
} // namespace zorvant::testing
