#include "support/cli_run.h"

#include "platform/silent_wave.h"
#include "support/fake_player.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zorvant::cli {
namespace {
using namespace std::chrono_literals;
using testing::TempFolder;

using testing::CliResult;

CliResult run(const std::vector<std::string>& args) {
    return testing::runCliCaptured(args);
}

std::string utf8Path(const TempFolder& folder, std::string_view name) {
    return (folder.path() / name).string();
}

// A settings file (Windows-1251, CR LF) with a run action that records the message text and an e-mail
// action, both watched every second.
std::string writeSettings(const TempFolder& folder) {
    const std::string program =
        "\"" + std::string(RECORD_ARGS_PATH) + "\" \"" + utf8Path(folder, "args.txt") + "\"";
    const std::string utf8 = "Настройки клиента=Общие\r\nИнтервал просмотра=1\r\n"
                             "Файл сообщений=" +
                             utf8Path(folder, "run.txt") + ";Запустить приложение;" + program +
                             " %ТЕКСТ%\r\n"
                             "Файл сообщений=" +
                             utf8Path(folder, "mail.txt") + ";Отправить эл. почтой;a@b.c\r\n";
    const std::string bytes = text::fromUtf8(utf8);
    folder.write("Zorvant.ini", bytes);
    return bytes;
}

std::string waitForFile(const TempFolder& folder, std::string_view name) {
    for (int i = 0; i < 500 && !std::filesystem::exists(folder.path() / name); ++i)
        std::this_thread::sleep_for(20ms);
    return folder.read(name);
}

TEST(WatchCommand, OnceActsOnEveryFilePresentAndPrintsALineForEach) {
    TempFolder folder;
    const std::string settings = writeSettings(folder);
    folder.write("run.txt", text::fromUtf8("Сигнал SBER\r\n"));
    folder.write("mail.txt", "M\r\n");
    const CliResult result = run({"watch", "--settings", utf8Path(folder, "Zorvant.ini"), "--once"});
    EXPECT_EQ(result.code, 1); // the mail could not go
    EXPECT_EQ(waitForFile(folder, "args.txt"), "Сигнал\nSBER\n");
    EXPECT_NE(result.out.find("\t" + utf8Path(folder, "run.txt") + "\tЗапустить приложение\t"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);
    EXPECT_NE(result.err.find("\tОтправить эл. почтой\ta@b.c\tошибка: Не указан почтовый сервер."),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "run.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "mail.txt~zorvant")); // kept for a later try
    EXPECT_EQ(folder.read("Zorvant.ini"), settings);                          // only read
    // The same two lines go to the alert log beside the settings file.
    const std::string log = text::toUtf8(folder.read("Zorvant.log"));
    EXPECT_NE(log.find("\tЗапустить приложение\t"), std::string::npos) << log;
    EXPECT_NE(log.find("\t M\tошибка: Не указан почтовый сервер.\r\n"), std::string::npos) << log;
}

TEST(WatchCommand, OnceFailsAndKeepsTheMessageOfAProgramOrASoundThatCannotStart) {
    TempFolder folder;
    folder.write("tone.wav", testing::silentWave());
    const std::string utf8 = "Интервал просмотра=1\r\nФайл сообщений=" + utf8Path(folder, "run.txt") +
                             ";Запустить приложение;\"" + utf8Path(folder, "нет программы") +
                             "\" %ТЕКСТ%\r\nФайл сообщений=" + utf8Path(folder, "sound.txt") +
                             ";Проиграть wav файл;" + utf8Path(folder, "tone.wav") + "\r\n";
    folder.write("Zorvant.ini", text::fromUtf8(utf8));
    folder.write("run.txt", "A\r\n");
    folder.write("sound.txt", "B\r\n");
    const testing::FakePlayer noSoundCard(1);
    const CliResult result = run({"watch", "--settings", utf8Path(folder, "Zorvant.ini"), "--once"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "") << "a failure was printed as an action";
    EXPECT_NE(result.err.find("нет программы"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("aplay"), std::string::npos) << result.err;
    EXPECT_EQ(folder.read("run.txt~zorvant"), "A\r\n");
    EXPECT_EQ(folder.read("sound.txt~zorvant"), "B\r\n");
}

TEST(WatchCommand, ADamagedSettingsLineCostsOnlyThatLine) {
    TempFolder folder;
    const std::string program =
        "\"" + std::string(RECORD_ARGS_PATH) + "\" \"" + utf8Path(folder, "args.txt") + "\"";
    folder.write("Zorvant.ini",
                 text::fromUtf8("Интервал просмотра=5.5x\r\nФайл сообщений=" + utf8Path(folder, "run.txt") +
                                ";Запустить приложение;" + program + " %ТЕКСТ%\r\n"));
    folder.write("run.txt", "A\r\n");
    const CliResult result = run({"watch", "--settings", utf8Path(folder, "Zorvant.ini"), "--once"});
    EXPECT_EQ(waitForFile(folder, "args.txt"), "A\n");
    EXPECT_NE(result.err.find("строка 1"), std::string::npos) << result.err;
}

TEST(WatchCommand, RefusesBadArgumentsAndMissingSettings) {
    const CliResult bad = run({"watch", "--everything"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("«--everything»"), std::string::npos);
    EXPECT_EQ(run({"watch", "--settings"}).code, 2);
    TempFolder folder;
    const CliResult missing = run({"watch", "--settings", utf8Path(folder, "нет.ini"), "--once"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find(utf8Path(folder, "нет.ini")), std::string::npos) << missing.err;
}

TEST(WatchCommand, TicksAtTheIntervalUntilTerminated) {
    TempFolder folder;
    writeSettings(folder);
    const std::string cli = ZORVANT_CLI_PATH, settings = utf8Path(folder, "Zorvant.ini"),
                      out = utf8Path(folder, "out.txt");
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("watch"),
                               const_cast<char*>("--settings"), const_cast<char*>(settings.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    std::this_thread::sleep_for(300ms); // the first tick has found nothing
    folder.write("run.txt", "later\r\n");
    EXPECT_EQ(waitForFile(folder, "args.txt"), "later\n");
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(folder.read("out.txt").find("Запустить приложение"), std::string::npos);
}

} // namespace
} // namespace zorvant::cli
