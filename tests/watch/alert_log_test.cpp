#include "watch/alert_log.h"

#include "platform/local_time.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/watch_ticks.h"
#include "text/cp1251.h"
#include "text/lines.h"
#include "watch/watcher.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using namespace text::literals;

TEST(AlertLog, ATickWritesALineForEachActionAndFailure) {
    testing::TempFolder folder;
    testing::RecordingServices system;
    testing::RecordingMailSender mail;
    mail.failWith = "сервер не отвечает"_cp;
    const auto now = std::chrono::system_clock::time_point(std::chrono::hours(1000));
    Watcher watcher(system, {{kSendMail, &mail}}, [&] { return now; });
    AlertLog log(folder.folderName());
    watcher.keepLog(&log);
    folder.write("run.txt", std::string("Цена\t250\r\n"_cp));
    folder.write("mail.txt", "SBER\r\n");
    const std::vector<WatchRecord> records = {
        {folder.file("run.txt"), std::string(kRunProgram), std::string("notify %ТЕКСТ%"_cp)},
        {folder.file("mail.txt"), std::string(kSendMail), "a@b.c"},
    };
    EXPECT_EQ(testing::tickAndDeliver(watcher, {records, {}, 5s}).size(), 2u);

    const std::string time = platform::formatLocalTime(now, "%Y-%m-%d %H:%M:%S");
    EXPECT_EQ(folder.read("Zorvant.log"),
              text::joinCrLf({
                  time + "\t" + folder.file("run.txt") +
                      std::string("\tЗапустить приложение\tnotify  Цена 250"
                                  "\t Цена 250\tвыполнено"_cp),
                  time + "\t" + folder.file("mail.txt") +
                      std::string("\tОтправить эл. почтой\ta@b.c\t SBER\tошибка: сервер не отвечает"_cp),
              }));
}

TEST(AlertLog, AFullLogBecomesThePreviousOneAndIsReadNewestFirst) {
    testing::TempFolder folder;
    AlertLog log(folder.folderName(), 200);
    TickReport report{TickReport::Kind::Action, {}, "m.txt", "run", "x", {}};
    for (int i = 1; i <= 7; ++i) {
        report.text = "message " + std::to_string(i) + std::string(40, '.');
        EXPECT_EQ(log.append(report), "");
    }
    // Two lines of about 90 bytes fit under 200: 1-2, 3-4 and 5-6 each became the previous file in turn.
    EXPECT_EQ(text::splitSettingsLines(folder.read("Zorvant.old.log")).size(), 2u);
    EXPECT_LE(folder.read("Zorvant.log").size(), 200u);
    const auto newest = log.newest(3);
    ASSERT_EQ(newest.size(), 3u);
    EXPECT_TRUE(newest[0].message.starts_with("message 7"));
    EXPECT_TRUE(newest[2].message.starts_with("message 5")) << newest[2].message;
    EXPECT_EQ(newest[2].result, std::string("выполнено"_cp));
}

TEST(AlertLog, ALogThatCannotBeWrittenIsReportedOnce) {
    testing::TempFolder folder;
    testing::RecordingServices system;
    Watcher watcher(system, {});
    AlertLog log(folder.file("missing") + platform::kPathSeparator);
    watcher.keepLog(&log);
    const WatchRecord record{folder.file("m.txt"), std::string(kOpenFile), "doc.txt"};
    std::vector<std::string> errors;
    for (int i = 0; i < 2; ++i) {
        folder.write("m.txt", "A\r\n");
        for (const auto& report : testing::tickAndDeliver(watcher, {{record}, {}, 5s}))
            if (report.kind == TickReport::Kind::Error)
                errors.push_back(text::toUtf8(report.text));
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with("Журнал сигналов не записан: ")) << errors[0];
    EXPECT_EQ(system.opened.size(), 2u);
}

} // namespace
} // namespace zorvant::watch
