#include "platform/services.h"

#include "platform/platform.h"
#include "support/fake_player.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace zorvant::platform {
namespace {
using testing::TempFolder;

// Waits for a started process to write its file; processes are not waited for by the services.
std::string waitForFile(const TempFolder& folder, std::string_view utf8Name) {
    for (int i = 0; i < 500 && !plainFileExists(folder.file(utf8Name)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return folder.read(utf8Name);
}

std::string inQuotes(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

TEST(Services, StartsACommandLineWithoutAShell) {
    TempFolder folder;
    const std::string out = folder.file("запуск аргументы.txt");
    const std::string line = inQuotes(RECORD_ARGS_PATH) + " " + inQuotes(out) +
                             " A;echo\tB $(touch x) \"two words\" a\\\"b " + text::fromUtf8("Сигнал");
    systemServices().startCommandLine(line);
    EXPECT_EQ(waitForFile(folder, "запуск аргументы.txt"),
              "A;echo\nB\n$(touch\nx)\ntwo words\na\"b\nСигнал\n");
    EXPECT_FALSE(plainFileExists(folder.file("x")));
}

std::string startError(std::string_view commandLine) {
    try {
        systemServices().startCommandLine(commandLine);
        return "";
    } catch (const Error& error) {
        return text::toUtf8(error.what());
    }
}

TEST(Services, ProgramsThatCannotStartRaiseAnError) {
    TempFolder folder;
    const std::string missing = startError(folder.file("нет.exe") + " A");
    EXPECT_NE(missing.find(text::toUtf8(folder.file("нет.exe"))), std::string::npos) << missing;
    EXPECT_NE(startError(""), "");
    // One argument beyond what the system passes to a program.
    const std::string tooLong = startError(inQuotes(RECORD_ARGS_PATH) + " " + std::string(200'000, 'x'));
    EXPECT_NE(tooLong.find(std::strerror(E2BIG)), std::string::npos) << tooLong;
    EXPECT_NO_THROW(systemServices().shellOpen(folder.file("нет.txt")));
}

TEST(Services, SoundsThatCannotPlayRaiseAnError) {
    TempFolder folder;
    folder.write("text.wav", "not a sound at all");
    folder.write("short.wav", "RIFF");
    for (const char* name : {"missing.wav", "text.wav", "short.wav"}) {
        try {
            systemServices().playSound(folder.file(name));
            ADD_FAILURE() << name;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(folder.file(name)), std::string::npos) << name;
        }
    }
    // PCM, one channel, 8000 Hz, 8 bits, four samples.
    folder.write("tone.wav", std::string("RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                                         "\x40\x1F\x00\x00\x40\x1F\x00\x00\x01\x00\x08\x00"
                                         "data\x04\x00\x00\x00\x80\x90\x80\x70",
                                         48));
    for (const int playing : {0, -1}) {
        testing::FakePlayer player(playing);
        EXPECT_NO_THROW(systemServices().playSound(folder.file("tone.wav"))) << playing;
    }
    testing::FakePlayer noSoundCard(1);
    try {
        systemServices().playSound(folder.file("tone.wav"));
        ADD_FAILURE() << "a player that failed was taken for playing";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(folder.file("tone.wav")), std::string::npos);
    }
}

TEST(Services, KnowsWhenAWriterHoldsAFile) {
    TempFolder folder;
    folder.write("m.txt", "A\r\n");
    const std::string name = folder.file("m.txt");
    EXPECT_EQ(systemServices().writerState(name), WriterState::Free);
    const int writer = ::open((folder.path() / "m.txt").c_str(), O_WRONLY | O_APPEND);
    ASSERT_NE(writer, -1);
    EXPECT_EQ(systemServices().writerState(name), WriterState::Held);
    ::close(writer);
    EXPECT_EQ(systemServices().writerState(name), WriterState::Free);
    const int reader = ::open((folder.path() / "m.txt").c_str(), O_RDONLY);
    EXPECT_EQ(systemServices().writerState(name), WriterState::Free);
    ::close(reader);
    EXPECT_EQ(systemServices().writerState(folder.file("missing.txt")), WriterState::Free);
}

} // namespace
} // namespace zorvant::platform
