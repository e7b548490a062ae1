#include "app/settings_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "watch/watch_table.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using testing::Forms;
using testing::TempFolder;
using Row = StringGrid::Row;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

struct WatchTable : ::testing::Test {
    TempFolder folder;
    Forms forms{folder.folderName()};
    TForm1& f = forms.form1;

    void type(std::string_view file, std::string_view action, std::string_view target) {
        f.LookFileName.text = file;
        f.DoChoise.text = action;
        f.ExeFileName.text = target;
    }
    std::vector<std::string> savedWatchLines() const {
        std::vector<std::string> lines;
        for (const auto& line : settingsLines(f, forms.form2))
            if (line.starts_with(cp("Файл сообщений=")))
                lines.push_back(line);
        return lines;
    }
};

TEST_F(WatchTable, BlankTableTakesTheFirstRecordWhateverItHolds) {
    f.SpeedButton7Click();
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{}}));
    EXPECT_TRUE(savedWatchLines().empty());
    type("", "x", "y");
    f.SpeedButton7Click(); // still blank: row 0 again
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{"", "x", "y"}}));
    type("/m/a.txt", std::string(watch::kPlaySound), "/s/a.wav");
    f.SpeedButton7Click();
    type("/m/b.txt", std::string(watch::kRunProgram), "/bin/n");
    f.SpeedButton7Click();
    ASSERT_EQ(f.TableFiles.rows.size(), 2u);
    EXPECT_EQ(f.TableFiles.rows[1], (Row{"/m/b.txt", std::string(watch::kRunProgram), "/bin/n"}));
    EXPECT_EQ(f.LookFileName.text, "/m/b.txt"); // editors keep their texts
}

TEST_F(WatchTable, AddWithoutAMessageFileStoresNothingButStillSwitchesTheTimerOn) {
    f.TableFiles.rows = {Row{"/m/a.txt", "a", "t"}};
    f.Timer1.enabled = false;
    type("", "b", "u");
    f.SpeedButton7Click();
    EXPECT_EQ(f.TableFiles.rows.size(), 1u);
    EXPECT_TRUE(f.Timer1.enabled);
    EXPECT_FALSE(f.inEditMode());
}

TEST_F(WatchTable, EditThenApplyChangesTheEditedRow) {
    f.TableFiles.rows = {Row{"/m/a.txt", std::string(watch::kSendMail), "a@b.c"}, Row{"/m/b.txt", "b", "u"}};
    f.TableFiles.row = 0;
    f.SpeedButton12Click();
    EXPECT_TRUE(f.inEditMode());
    EXPECT_FALSE(f.TableFiles.enabled);
    EXPECT_EQ(f.TableFiles.colour, Colour::buttonFace());
    EXPECT_EQ(f.SpeedButton7.imageIndex, 1);
    EXPECT_FALSE(f.Timer1.enabled);
    EXPECT_EQ(f.DoChoise.itemIndex, 3);
    EXPECT_EQ(f.Label19.caption, cp("на электронный адрес"));
    EXPECT_EQ(f.ExeFileName.text, "a@b.c");

    f.LookFileName.text.clear();
    f.SpeedButton7Click();
    EXPECT_EQ(f.TableFiles.rows[0], (Row{"", std::string(watch::kSendMail), "a@b.c"}));
    EXPECT_EQ(f.TableFiles.rows.size(), 2u);
    EXPECT_FALSE(f.inEditMode());
    EXPECT_EQ(f.TableFiles.colour, Colour::window());
    EXPECT_EQ(f.SpeedButton7.imageIndex, 2);
    EXPECT_TRUE(f.Timer1.enabled);
    EXPECT_EQ(savedWatchLines()[0], cp("Файл сообщений=;Отправить эл. почтой;a@b.c"));
}

TEST_F(WatchTable, DeleteMovesRowsUpAndNeverLeavesZeroRows) {
    f.TableFiles.rows = {Row{"/a", "1", ""}, Row{"/b", "2", ""}, Row{"/c", "3", ""}};
    f.TableFiles.row = 2;
    f.SpeedButton10Click();
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{"/a", "1", ""}, Row{"/b", "2", ""}}));
    EXPECT_EQ(f.TableFiles.row, 1);
    f.TableFiles.row = 0;
    f.SpeedButton10Click();
    f.SpeedButton10Click();
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{}}));
    EXPECT_TRUE(savedWatchLines().empty());
    EXPECT_TRUE(f.Timer1.enabled);
}

TEST_F(WatchTable, DeletingTheEditedRecordEndsEditingSoApplyCannotOverwriteAnother) {
    f.TableFiles.rows = {Row{"/a", "1", ""}, Row{"/b", "2", ""}};
    f.TableFiles.row = 0;
    f.SpeedButton12Click();
    f.SpeedButton10Click();
    EXPECT_FALSE(f.inEditMode());
    EXPECT_TRUE(f.Timer1.enabled);
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{"/b", "2", ""}}));
    f.SpeedButton7Click(); // the editors still hold "/a": a new record, "/b" untouched
    EXPECT_EQ(f.TableFiles.rows, (std::vector<Row>{Row{"/b", "2", ""}, Row{"/a", "1", ""}}));
}

TEST_F(WatchTable, MessagePickerStartsInTheMessagesFolder) {
    f.MessFolder.text = "/data/msg/";
    forms.dialogs.fileAnswers = {std::string("/data/msg/a b.txt"), std::nullopt};
    f.SpeedButton5Click();
    f.SpeedButton5Click(); // cancelled: unchanged
    ASSERT_EQ(forms.dialogs.openRequests.size(), 2u);
    const FileDialogRequest& request = forms.dialogs.openRequests[0];
    EXPECT_EQ(request.initialFolder, "/data/msg/");
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.filter, "*.txt|*.txt");
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(f.LookFileName.text, "/data/msg/a b.txt"); // never quoted
}

TEST_F(WatchTable, TargetPickerFollowsTheActionAndQuotesPathsWithSpaces) {
    struct Case {
        std::string action, filter, extension, picked, target;
    };
    const Case cases[] = {
        {std::string(watch::kPlaySound), "*.wav|*.wav", "wav", "/my sounds/a.wav", "\"/my sounds/a.wav\""},
        {std::string(watch::kRunProgram), "*.exe; *.cmd; *.bat|*.exe; *.cmd; *.bat", "", "/bin/n.exe",
         "/bin/n.exe"},
        {std::string(watch::kOpenFile), "*.*|*.*", "", "/my files/a.txt", "\"/my files/a.txt\""},
        {cp("проиграть wav файл"), "*.*|*.*", "", "/a.wav", "/a.wav"},
    };
    for (const auto& c : cases) {
        f.DoChoise.text = c.action;
        forms.dialogs.fileAnswers = {c.picked};
        f.SpeedButton6Click();
        const FileDialogRequest& request = forms.dialogs.openRequests.back();
        EXPECT_EQ(request.initialFolder, f.ProgramFolder);
        EXPECT_EQ(request.filter, c.filter) << text::toUtf8(c.action);
        EXPECT_EQ(request.defaultExtension, c.extension) << text::toUtf8(c.action);
        EXPECT_EQ(f.ExeFileName.text, c.target);
    }
    f.SpeedButton6Click(); // cancelled
    EXPECT_EQ(f.ExeFileName.text, "/a.wav");
}

TEST_F(WatchTable, MailActionRenamesTheTargetHeadingAndHidesItsPicker) {
    EXPECT_EQ(f.Label19.caption, cp("над файлом"));
    const std::pair<std::string_view, const char*> headings[] = {{watch::kSendMail, "на электронный адрес"},
                                                                 {watch::kSendTelegram, "в чаты Telegram"},
                                                                 {watch::kPostToWeb, "на веб-адрес"}};
    for (const auto& [action, heading] : headings) {
        f.DoChoise.text = std::string(action);
        f.DoChoiseChange();
        EXPECT_EQ(f.Label19.caption, cp(heading));
        EXPECT_FALSE(f.SpeedButton6.visible);
    }
    EXPECT_EQ(f.DoChoise.items.back(), std::string(watch::kPostToWeb));
    f.DoChoise.text = cp("Отправить эл. почтой ");
    f.DoChoiseChange();
    EXPECT_EQ(f.Label19.caption, cp("над файлом"));
    EXPECT_TRUE(f.SpeedButton6.visible);
}

TEST_F(WatchTable, TheTickSeesTheBlankTableAsNoRecords) {
    EXPECT_TRUE(f.watchSnapshot().records.empty());
    f.TableFiles.rows = {Row{"", "a", "b"}, Row{"/m", "c", "d"}};
    const auto snapshot = f.watchSnapshot();
    ASSERT_EQ(snapshot.records.size(), 2u);
    EXPECT_EQ(snapshot.records[1], (watch::WatchRecord{"/m", "c", "d"}));
    EXPECT_EQ(snapshot.interval, std::chrono::milliseconds(f.Timer1.intervalMs));
}

} // namespace
} // namespace zorvant::app
