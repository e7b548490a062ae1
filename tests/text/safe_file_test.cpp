#include "text/safe_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorvant::text {
namespace {
namespace fs = std::filesystem;

TEST(SafeFile, ReplacesTheTargetAndLeavesNoTemporaryFile) {
    testing::TempFolder folder;
    folder.write("a.txt", "old");
    EXPECT_EQ(writeFileSafely(folder.path() / "a.txt", "new\r\n"), "");
    EXPECT_EQ(folder.read("a.txt"), "new\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(SafeFile, AFailedWriteKeepsTheOldFile) {
    testing::TempFolder folder;
    fs::create_directory(folder.path() / "dir");
    EXPECT_NE(writeFileSafely(folder.path() / "dir", "x"), "");
    EXPECT_TRUE(fs::is_directory(folder.path() / "dir"));
    EXPECT_NE(writeFileSafely(folder.path() / "missing" / "a.txt", "x"), "");
    if (fs::exists("/dev/full")) {
        EXPECT_NE(writeFileSafely("/dev/full", std::string(1 << 16, 'x')), "");
        EXPECT_TRUE(fs::is_character_file("/dev/full")); // written in place, never renamed over
    }
}

#ifndef _WIN32 // Windows files carry no POSIX mode bits
TEST(SafeFile, OwnerOnlyFilesAreUnreadableToOthers) {
    testing::TempFolder folder;
    ASSERT_EQ(writeFileSafely(folder.path() / "secret.ini", "Пароль=x", FileAccess::OwnerOnly), "");
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "secret.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// The temporary file is made afresh, never through a file someone put in its way: links planted at the
// names a guessable scheme would use lead nowhere.
TEST(SafeFile, LinksPlantedAtTemporaryNamesAreNeverFollowed) {
    testing::TempFolder folder;
    folder.write("victim.txt", "untouched");
    for (int i = 0; i < 16; ++i)
        fs::create_symlink(folder.path() / "victim.txt",
                           folder.path() / ("secret.ini.tmp" + std::to_string(i)));
    ASSERT_EQ(writeFileSafely(folder.path() / "secret.ini", "Пароль=x", FileAccess::OwnerOnly), "");
    EXPECT_EQ(folder.read("victim.txt"), "untouched");
    EXPECT_FALSE(fs::is_symlink(folder.path() / "secret.ini"));
    EXPECT_EQ(folder.read("secret.ini"), "Пароль=x");
    EXPECT_TRUE(fs::is_symlink(folder.path() / "secret.ini.tmp0"));
}
#endif

TEST(SafeFile, ReadsBytesAndRefusesFoldersAndMissingFiles) {
    testing::TempFolder folder;
    folder.write("b.bin", std::string("\0\xFF\r\n", 4));
    EXPECT_EQ(readWholeFile(folder.path() / "b.bin"), std::string("\0\xFF\r\n", 4));
    EXPECT_FALSE(readWholeFile(folder.path()));
    EXPECT_FALSE(readWholeFile(folder.path() / "none"));
}

} // namespace
} // namespace zorvant::text
