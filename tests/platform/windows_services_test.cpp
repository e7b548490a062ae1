// The Windows layer against the real Win32 API: programs really start, the shell really opens, names
// really reach the file system.
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/services.h"
#include "platform/windows_names.h"
#include "silent_wave.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <thread>

namespace zorvant::platform {
namespace {
namespace fs = std::filesystem;
using testing::TempFolder;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

bool appears(const std::string& file) {
    for (int i = 0; i < 600 && !plainFileExists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return plainFileExists(file);
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

// The argument recorder, copied to a Cyrillic folder with spaces; what it records lands in log.
class StartedProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createFolder(temp.file("Папка с пробелами")));
        ASSERT_TRUE(copyFileReplacing(programFolder() + "argv_recorder.exe", recorder));
        SetEnvironmentVariableW(L"ZORVANT_ARGV_LOG", wideName(log).c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"ZORVANT_ARGV_LOG", nullptr); }

    std::vector<std::string> recorded() {
        if (!appears(log))
            return {"(the program did not run)"};
        return linesOf(readFile(log));
    }

    TempFolder temp;
    const std::string recorder = temp.file("Папка с пробелами\\запись сигнала.exe");
    const std::string log = temp.file("аргументы.txt");
};

TEST_F(StartedProgram, GetsTheArgumentsAsTheWindowsRulesSplitThem) {
    const std::string line = "\"" + recorder + "\"" +
                             cp(R"( "два слова" A\"B  C "" "конец\\" \\сервер\папка a\\\"b "say ""hi""")");
    systemServices().startCommandLine(line);
    const std::vector<std::string> expected = {
        cp("два слова"), "A\"B", "C", "", cp("конец\\"), cp("\\\\сервер\\папка"), "a\\\"b", "say \"hi\""};
    EXPECT_EQ(recorded(), expected);
    // The portable splitter, which starts programs elsewhere, splits as the started program does.
    std::vector<std::string> split = splitCommandLine(line);
    ASSERT_FALSE(split.empty());
    EXPECT_EQ(split.front(), recorder);
    split.erase(split.begin());
    EXPECT_EQ(split, expected);
}

TEST_F(StartedProgram, IsNotWaitedFor) {
    systemServices().startCommandLine("\"" + recorder + "\" --slowly " + cp("Сигнал: покупка"));
    EXPECT_FALSE(plainFileExists(log)); // the program is still asleep
    EXPECT_EQ(recorded(), (std::vector<std::string>{"--slowly", cp("Сигнал:"), cp("покупка")}));
}

TEST_F(StartedProgram, AProgramThatCannotStartRaisesAnErrorNamingIt) {
    const std::string missing = temp.file("нет такой программы.exe");
    try {
        systemServices().startCommandLine("\"" + missing + "\" A");
        ADD_FAILURE() << "a program that is not there was taken for started";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos);
    }
    EXPECT_THROW(systemServices().startCommandLine(""), Error);
    EXPECT_FALSE(plainFileExists(log));
}

// The shell opens a text file with the program registered for its extension, for this user and for
// the length of the test. Wine does not merge the user's classes into HKEY_CLASSES_ROOT, so there the
// class is registered for the machine.
class ShellOpen : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        registerClass(HKEY_CURRENT_USER, L"Software\\Classes\\");
        HKEY seen = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kExtension, 0, KEY_READ, &seen) == ERROR_SUCCESS)
            RegCloseKey(seen);
        else
            registerClass(HKEY_CLASSES_ROOT, L"");
    }
    void TearDown() override {
        for (const auto& [root, prefix] :
             {std::pair{HKEY_CURRENT_USER, L"Software\\Classes\\"}, std::pair{HKEY_CLASSES_ROOT, L""}}) {
            RegDeleteTreeW(root, (std::wstring(prefix) + kExtension).c_str());
            RegDeleteTreeW(root, (std::wstring(prefix) + kClass).c_str());
        }
        StartedProgram::TearDown();
    }

    void registerClass(HKEY root, const std::wstring& prefix) {
        setValue(root, prefix + kExtension, kClass);
        setValue(root, prefix + kClass + L"\\shell\\open\\command",
                 L"\"" + wideName(recorder) + L"\" \"%1\"");
    }

    static void setValue(HKEY root, const std::wstring& key, const std::wstring& value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }

    static constexpr const wchar_t* kExtension = L".zorvanttest";
    static constexpr const wchar_t* kClass = L"Zorvant.TestText";
};

TEST_F(ShellOpen, OpensTheFileWithItsProgram) {
    const std::string file = temp.file("сигнал дня.zorvanttest");
    writeFile(file, cp("Сигнал: покупка\r\n"));
    systemServices().shellOpen(file);
    const auto got = recorded();
    ASSERT_EQ(got.size(), 1u) << text::toUtf8(got.front());
    EXPECT_TRUE(fs::equivalent(nativePath(got[0]), nativePath(file))) << text::toUtf8(got[0]);
}

TEST_F(ShellOpen, AMissingFileIsIgnored) {
    systemServices().shellOpen(temp.file("нет.zorvanttest"));
    systemServices().shellOpen("");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(plainFileExists(log));
}

TEST(Sound, PlaysAWaveFileOrSaysWhyNot) {
    TempFolder temp;
    temp.write("звонок.wav", testing::silentWave());
    const std::string wave = temp.file("звонок.wav");
    if (waveOutGetNumDevs() > 0) {
        EXPECT_NO_THROW(systemServices().playSound(wave));
    } else {
        try {
            systemServices().playSound(wave);
            ADD_FAILURE() << "a sound without a device was taken as played";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(),
                      cp("Не удаётся проиграть звуковой файл ") + wave + cp(": нет устройства вывода звука"));
        }
    }
    temp.write("текст.wav", "A\r\n");
    EXPECT_THROW(systemServices().playSound(temp.file("текст.wav")), Error);
    EXPECT_THROW(systemServices().playSound(temp.file("нет.wav")), Error);
}

TEST(WindowsNames, CyrillicNamesSurviveTheRoundTrip) {
    TempFolder temp;
    const std::string name = cp("Ёлка №1 — сигнал «ё».txt");
    writeFile(temp.folderName() + name, "A\r\n");
    std::vector<std::string> listed;
    for (const auto& entry : fs::directory_iterator(temp.path()))
        listed.push_back(fromNativePath(entry.path().filename()));
    EXPECT_EQ(listed, std::vector<std::string>{name});
    EXPECT_TRUE(plainFileExists(temp.folderName() + name));
    // No wildcards: a pattern names no file even where files match it.
    EXPECT_FALSE(plainFileExists(temp.file("*.txt")));
    EXPECT_FALSE(plainFileExists(temp.file("?лка №1 — сигнал «ё».txt")));
    EXPECT_FALSE(deleteFile(temp.file("*.txt")));
    EXPECT_TRUE(plainFileExists(temp.folderName() + name));
}

TEST(WindowsNames, ProgramFolderEndsWithABackslash) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(plainFileExists(folder + "zorvant_platform_tests.exe"));
}

TEST(WindowsNames, AFolderIsNoFileWithOrWithoutItsBackslash) {
    TempFolder temp;
    const std::string folder = temp.folderName();
    EXPECT_FALSE(plainFileExists(folder));
    EXPECT_FALSE(plainFileExists(folder.substr(0, folder.size() - 1)));
    EXPECT_THROW(readFile(folder), Error);
    EXPECT_THROW(readFile(folder.substr(0, folder.size() - 1)), Error);
}

} // namespace
} // namespace zorvant::platform
