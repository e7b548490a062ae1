// The settings file on a disk that cannot take it: the close reports the system's reason, the window
// stays open and the settings file of the last good close is still there.
#include "file_size_limit.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::Forms;
using testing::TempFolder;

// Started on an existing settings file and given a watch table that makes the next file much longer.
struct Closing {
    TempFolder folder;
    Forms forms{folder.folderName()};
    std::string oldFile = text::fromUtf8("Фирма=old\r\n");

    Closing() {
        folder.write("Zorvant.ini", oldFile);
        forms.form1.FormActivate();
        forms.form1.TableFiles.rows.clear();
        for (int i = 0; i < 100; ++i)
            forms.form1.TableFiles.rows.push_back({"C:\\m" + std::to_string(i) + ".txt", "x", "y"});
    }
    std::string onlyMessage() const {
        EXPECT_EQ(forms.dialogs.messages.size(), 1u);
        return forms.dialogs.messages.empty() ? "" : forms.dialogs.messagesUtf8().front();
    }
};

TEST(SettingsFaults, ADiskThatFillsUpMidWriteKeepsTheOldFile) {
    Closing c;
    {
        FileSizeLimit full(1024);
        EXPECT_FALSE(c.forms.form1.FormClose());
    }
    EXPECT_EQ(c.folder.read("Zorvant.ini"), c.oldFile);
    EXPECT_NE(c.onlyMessage().find("Zorvant.ini"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(c.folder.path()), fs::directory_iterator()), 5)
        << "only the settings file and the four storage folders, no temporary file left behind";

    // Once there is room again, the same close succeeds.
    EXPECT_TRUE(c.forms.form1.FormClose());
    EXPECT_GT(c.folder.read("Zorvant.ini").size(), 1024u);
}

TEST(SettingsFaults, AFullDeviceReportsTheSystemsReason) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    Closing c;
    fs::remove(c.folder.path() / "Zorvant.ini");
    fs::create_symlink("/dev/full", c.folder.path() / "Zorvant.ini");
    EXPECT_FALSE(c.forms.form1.FormClose());
    const std::string message = c.onlyMessage();
    EXPECT_NE(message.find("Zorvant.ini"), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(ENOSPC)), std::string::npos) << message;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

} // namespace
} // namespace zorvant::app
