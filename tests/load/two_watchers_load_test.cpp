// Two zorvant-cli watch processes on one table of message files, as the desktop program and a headless
// watcher on the same settings: one e-mails every message through a server that starts only after a
// while, the other runs a program with it. Two writer processes append lines meanwhile. Every line
// written must be acted on exactly once across both watchers: claims never replace one another.
#include "line_tally.h"
#include "support/child_process.h"
#include "support/smtp_test_server.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace zorvant::testing {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kFiles = 20;
constexpr int kWriters = 2;
constexpr int kWriteSeconds = 8;

struct SharedTable {
    TempFolder folder;
    std::vector<std::string> messageFiles;
    std::string address = randomLoopbackAddress();
    int mailPort = closedPort(address);

    SharedTable() {
        for (int i = 0; i < kFiles; ++i)
            messageFiles.push_back((folder.path() / ("m" + std::to_string(i) + ".txt")).string());
        std::string mail = "Интервал просмотра=1\r\nПочтовый сервер=" + address + ":" +
                           std::to_string(mailPort) + "\r\nОбратный адрес=robot@example.ru\r\n";
        std::string run = "Интервал просмотра=1\r\n";
        for (const auto& file : messageFiles) {
            mail += "Файл сообщений=" + file + ";Отправить эл. почтой;a@x.ru\r\n";
            run += "Файл сообщений=" + file + ";Запустить приложение;\"" + APPEND_ARGS_PATH + "\" \"" +
                   path("run.txt") + "\" %ТЕКСТ%\r\n";
        }
        folder.write("mail.ini", text::fromUtf8(mail));
        folder.write("run.ini", text::fromUtf8(run));
    }
    std::string path(std::string_view name) const { return (folder.path() / name).string(); }
};

std::vector<std::string> mailedLines(const SmtpTestServer& server) {
    std::vector<std::string> lines;
    for (const auto& message : server.messages()) {
        std::istringstream words(message["body"].str());
        for (std::string word; words >> word;)
            lines.push_back(word);
    }
    return lines;
}

TEST(WatcherLoad, TwoWatchersOnOneTableActOnEveryLineOnce) {
    SharedTable table;
    ChildProcess mailer({ZORVANT_CLI_PATH, "watch", "--settings", table.path("mail.ini")},
                        table.path("mailer.log"));
    ChildProcess runner({ZORVANT_CLI_PATH, "watch", "--settings", table.path("run.ini")},
                        table.path("runner.log"));
    std::vector<std::unique_ptr<ChildProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        std::vector<std::string> argv = {MESSAGE_WRITER_PATH,
                                         table.path("ledger" + std::to_string(w) + ".txt"), std::to_string(w),
                                         std::to_string(kWriteSeconds), std::to_string(2000 + w)};
        argv.insert(argv.end(), table.messageFiles.begin(), table.messageFiles.end());
        writers.push_back(std::make_unique<ChildProcess>(argv, table.path("writers.log")));
    }
    std::this_thread::sleep_for(3s); // the mail server is down until now
    SmtpTestServer server(SmtpTestServer::Options{{}, {}, table.address, table.mailPort});
    for (auto& writer : writers)
        ASSERT_EQ(writer->waitForExit(std::chrono::seconds(kWriteSeconds + 30)), 0);

    std::vector<fs::path> ledgers;
    for (int w = 0; w < kWriters; ++w)
        ledgers.push_back(table.path("ledger" + std::to_string(w) + ".txt"));
    const auto written = writtenLines(ledgers);
    const auto actedCount = [&] {
        return mailedLines(server).size() + linesOf(table.path("run.txt")).size();
    };
    for (int i = 0; i < 600 && actedCount() < written.size(); ++i)
        std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(1500ms); // one more tick of each shows any late duplicate
    mailer.terminate();
    runner.terminate();
    EXPECT_EQ(mailer.waitForExit(10s), 0);
    EXPECT_EQ(runner.waitForExit(10s), 0);

    const auto mailed = mailedLines(server);
    const auto ran = linesOf(table.path("run.txt"));
    std::vector<std::string> acted = mailed;
    acted.insert(acted.end(), ran.begin(), ran.end());
    const auto [duplicates, losses, unknown] = tally(written, acted);
    std::cout << "two watchers: " << written.size() << " lines written, " << mailed.size() << " e-mailed in "
              << server.messages().size() << " messages, " << ran.size() << " run, " << duplicates
              << " duplicates, " << losses << " lost, " << unknown << " unknown\n";

    EXPECT_GT(written.size(), 300u) << "too little load to show anything";
    EXPECT_GT(mailed.size(), 0u) << "the late server never got a message";
    EXPECT_GT(ran.size(), 0u);
    EXPECT_EQ(duplicates, 0u);
    EXPECT_EQ(losses, 0u);
    EXPECT_EQ(unknown, 0u);
}

} // namespace
} // namespace zorvant::testing
