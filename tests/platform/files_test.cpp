#include "platform/platform.h"

#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace zorvant::platform {
namespace {
namespace fs = std::filesystem;

TEST(Platform, ProgramFolderIsTheExecutablesFolderWithASeparator) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kPathSeparator);
    EXPECT_TRUE(fs::is_directory(nativePath(folder)));
}

TEST(Platform, CyrillicNamesReachTheFileSystem) {
    testing::TempFolder temp;
    const std::string folder = temp.file("Сообщения");
    EXPECT_TRUE(createFolder(folder));
    EXPECT_FALSE(createFolder(folder)); // exists already
    EXPECT_TRUE(fs::is_directory(temp.native("Сообщения")));
    EXPECT_FALSE(createFolder(temp.file("нет/Сообщения"))); // parent missing: not made
    EXPECT_FALSE(fs::exists(temp.native("нет")));

    const std::string file = folder + kPathSeparator + text::fromUtf8("сигнал.txt");
    writeFile(file, "A\r\n");
    EXPECT_TRUE(plainFileExists(file));
    EXPECT_FALSE(plainFileExists(folder)); // a folder is no plain file
    EXPECT_FALSE(plainFileExists(""));
    EXPECT_EQ(temp.read("Сообщения/сигнал.txt"), "A\r\n");

    const std::string copy = folder + kPathSeparator + "copy.txt";
    EXPECT_TRUE(copyFileReplacing(file, copy));
    writeFile(file, "B\r\n");
    EXPECT_TRUE(copyFileReplacing(file, copy));
    EXPECT_EQ(readFile(copy), "B\r\n");
    writeFile(file, "C\r\n");
    EXPECT_FALSE(renameFile(copy, file)); // never over an existing file
    EXPECT_EQ(readFile(file), "C\r\n");
    EXPECT_TRUE(deleteFile(file));
    EXPECT_TRUE(renameFile(copy, file));
    EXPECT_FALSE(plainFileExists(copy));
    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(deleteFile(file));
}

TEST(Platform, ReadAndWriteErrorsNameTheFile) {
    testing::TempFolder temp;
    const std::string missing = temp.file("нет.txt");
    try {
        readFile(missing);
        FAIL();
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos);
    }
    try {
        writeFile(temp.file("нет/a.txt"), "x");
        FAIL();
    } catch (const Error& error) {
        EXPECT_NE(text::toUtf8(error.what()).find("Не удаётся создать файл"), std::string::npos);
    }
}

TEST(Platform, DecimalSeparatorIsOneCharacter) {
    const char separator = decimalSeparator();
    EXPECT_TRUE(separator == '.' || separator == ',') << separator;
}

} // namespace
} // namespace zorvant::platform
