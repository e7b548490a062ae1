// The user's own files (conditions, portfolio description, script) saved where they cannot be: the
// handler raises the error naming the file, and a file that was there before keeps its bytes.
#include "file_size_limit.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::Forms;
using testing::TempFolder;

struct Save {
    const char* what;
    std::function<void(TForm1&)> handler;
};

const Save kSaves[] = {
    {"conditions", [](TForm1& f) { f.N3Click(); }},
    {"description", [](TForm1& f) { f.N10Click(); }},
    {"script", [](TForm1& f) { f.N13Click(); }},
};

// A started window whose list, fields and script all make files of several kilobytes.
struct Saving {
    TempFolder folder;
    Forms forms{folder.folderName()};

    Saving() {
        forms.form1.FormActivate();
        TForm1& f = forms.form1;
        for (int i = 0; i < 200; ++i) {
            auto& node = f.ConditionsView.items.addTopLevel(text::fromUtf8("<УСЛОВИЕ>"));
            node.addChild(text::fromUtf8("ГРАФИК=PRICE") + std::to_string(i));
            f.ScriptText.lines.push_back("x = " + std::to_string(i));
        }
    }
    // Runs the save into the named file and returns the error text it raised (UTF-8).
    std::string failingSave(const Save& save, const std::string& fileName) {
        forms.dialogs.fileAnswers.push_back(fileName);
        try {
            save.handler(forms.form1);
        } catch (const Error& error) {
            return text::toUtf8(error.what());
        }
        return "";
    }
};

TEST(UserFileFaults, AFolderOrAMissingFolderInTheWayIsReported) {
    for (const auto& save : kSaves) {
        SCOPED_TRACE(save.what);
        Saving s;
        fs::create_directory(s.folder.path() / "taken.txt");
        const std::string onFolder = s.failingSave(save, s.folder.file("taken.txt"));
        EXPECT_NE(onFolder.find("taken.txt"), std::string::npos) << onFolder;
        EXPECT_TRUE(fs::is_directory(s.folder.path() / "taken.txt"));

        const std::string missing = s.failingSave(save, s.folder.file("нет/файл.txt"));
        EXPECT_NE(missing.find("нет/файл.txt"), std::string::npos) << missing;
    }
}

TEST(UserFileFaults, ADiskThatFillsUpKeepsTheOldFileWhole) {
    for (const auto& save : kSaves) {
        SCOPED_TRACE(save.what);
        Saving s;
        s.folder.write("old.txt", "old bytes\r\n");
        std::string error;
        {
            FileSizeLimit full(512);
            error = s.failingSave(save, s.folder.file("old.txt"));
        }
        EXPECT_NE(error.find("old.txt"), std::string::npos) << error;
        EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << error;
        EXPECT_EQ(s.folder.read("old.txt"), "old bytes\r\n");
        for (const auto& item : fs::directory_iterator(s.folder.path()))
            EXPECT_FALSE(item.path().filename().string().starts_with("old.txt."))
                << "temporary file left behind: " << item.path();
    }
}

TEST(UserFileFaults, AFullDeviceIsReportedWithTheSystemsReason) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    for (const auto& save : kSaves) {
        SCOPED_TRACE(save.what);
        Saving s;
        const std::string error = s.failingSave(save, "/dev/full");
        EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
    }
}

} // namespace
} // namespace zorvant::app
