#include "app/editor_form.h"
#include "conditions/example_list.h"
#include "conditions/list_notation.h"
#include "text/error.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using testing::cp;
using testing::EditorForm;
using testing::listOf;
using testing::notationOf;
using testing::visible;

void expectRequest(const FileDialogRequest& request, const std::string& folder, const char* extension,
                   const std::string& fileName) {
    EXPECT_EQ(request.initialFolder, folder);
    EXPECT_EQ(request.defaultExtension, extension);
    EXPECT_EQ(request.filter, std::string("*.") + extension + "|*." + extension);
    EXPECT_EQ(request.fileName, fileName);
}

TEST(FilesHandlers, EveryDialogStartsInItsFolderWithItsFilterAndCancelChangesNothing) {
    EditorForm e;
    TForm1& f = e.f;
    f.ConditionsView.items = listOf("X1 [И] X2");
    f.PortfelName.text = "SBER";
    f.FileNameMessage.text = "kept";
    f.N3Click();
    f.N4Click();
    f.N10Click();
    f.N11Click();
    f.SpeedButton1Click();
    e.forms.dialogs.fileAnswers.push_back(""); // confirmed without a name
    f.N4Click();
    const auto& saves = e.forms.dialogs.saveRequests;
    const auto& opens = e.forms.dialogs.openRequests;
    ASSERT_EQ(saves.size(), 3u);
    ASSERT_EQ(opens.size(), 3u);
    expectRequest(saves[0], f.ConFolder.text, "con", "");
    expectRequest(opens[0], f.ConFolder.text, "con", "");
    expectRequest(saves[1], f.DescFolder.text, "xml", "SBER");
    expectRequest(opens[1], f.DescFolder.text, "xml", "");
    expectRequest(saves[2], f.MessFolder.text, "txt", "");
    EXPECT_EQ(notationOf(f.ConditionsView.items), "X1 [И] X2");
    EXPECT_EQ(f.FileNameMessage.text, "kept");
    EXPECT_TRUE(std::filesystem::is_empty(e.folder.native("Условия")));
    EXPECT_TRUE(std::filesystem::is_empty(e.folder.native("Описания")));
}

TEST(FilesHandlers, ConditionsSavedAndLoadedReplaceTheList) {
    EditorForm e;
    TForm1& f = e.f;
    f.ConditionsView.items = listOf("[(] X1 [И] X2 [) ИЛИ] X3");
    const std::string file = e.folder.file("Условия/мои.con");
    e.forms.dialogs.fileAnswers = {file, file};
    f.N3Click();
    f.ConditionsView.items = listOf("Y1");
    f.ConditionsView.select(f.ConditionsView.items.lastTopLevel());
    f.N4Click();
    EXPECT_EQ(notationOf(f.ConditionsView.items), "[(] X1 [И] X2 [) ИЛИ] X3");
    EXPECT_EQ(f.ConditionsView.selected, nullptr);
}

TEST(FilesHandlers, AFileThatCannotBeReadOrHasALevelJumpLeavesTheList) {
    EditorForm e;
    TForm1& f = e.f;
    f.ConditionsView.items = listOf("X1");
    e.folder.write("bad.con", "a\r\n\t\tb\r\n");
    e.forms.dialogs.fileAnswers = {e.folder.file("missing.con"), e.folder.file("bad.con")};
    EXPECT_THROW(f.N4Click(), Error);
    try {
        f.N4Click();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(visible(error.what()),
                  visible(cp("Неверный уровень (2) у строки \"b\" в файле ") + e.folder.file("bad.con")));
    }
    EXPECT_EQ(notationOf(f.ConditionsView.items), "X1");
}

TEST(FilesHandlers, ASaveIntoAMissingFolderIsAnErrorNamingTheFile) {
    EditorForm e;
    e.f.ConditionsView.items = listOf("X1");
    const std::string file = e.folder.file("нет/x.con");
    e.forms.dialogs.fileAnswers = {file};
    try {
        e.f.N3Click();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(e.folder.native("нет")));
}

// Sets every control a description holds to a value unlike its start value.
void fillPortfolio(TForm1& f, bool compressed) {
    f.PortfelName.text = "SBER_cross";
    f.PortfelDesc.text = cp("Пересечение линий & уровень");
    f.RT_ALL.checked = !compressed;
    f.RT_COMP.checked = compressed;
    compressed ? f.RT_COMPClick() : f.RT_ALLClick();
    f.CompMess.text = cp("Пора!");
    f.FileNameMessage.text = cp("C:\\QUIK\\Сообщения\\sber.txt");
    f.ConditionsView.items = listOf("X1 [И] X2");
}

void clearPortfolio(TForm1& f) {
    f.PortfelName.text = f.PortfelDesc.text = f.FileNameMessage.text = "";
    f.CompMess.text = "current";
    f.RT_ALL.checked = false;
    f.RT_COMP.checked = true;
    f.RT_COMPClick();
    f.ConditionsView.items = listOf("Y1");
}

TEST(FilesHandlers, ADescriptionSavedAndLoadedInBothMessageModes) {
    for (const bool compressed : {true, false}) {
        EditorForm e;
        TForm1& f = e.f;
        fillPortfolio(f, compressed);
        EXPECT_EQ(f.CompMess.enabled, compressed);
        const std::string file = e.folder.file("Описания/SBER_cross.xml");
        e.forms.dialogs.fileAnswers = {file, file};
        f.N10Click();
        clearPortfolio(f);
        f.N11Click();
        EXPECT_EQ(f.PortfelName.text, "SBER_cross");
        EXPECT_EQ(f.PortfelDesc.text, cp("Пересечение линий & уровень"));
        EXPECT_EQ(f.RT_COMP.checked, compressed);
        EXPECT_EQ(f.RT_ALL.checked, !compressed);
        EXPECT_EQ(f.CompMess.enabled, compressed);
        EXPECT_EQ(f.CompMess.text, compressed ? cp("Пора!") : "current");
        EXPECT_EQ(f.FileNameMessage.text, cp("C:\\QUIK\\Сообщения\\sber.txt"));
        EXPECT_EQ(notationOf(f.ConditionsView.items), "X1 [И] X2");
        EXPECT_FALSE(std::filesystem::exists(e.folder.native("Описания/tmp.txt")));
    }
}

TEST(FilesHandlers, TheSavedDescriptionIsTheGoldenFile) {
    EditorForm e;
    fillPortfolio(e.f, true);
    e.f.ConditionsView.items = testing::exampleList();
    e.forms.dialogs.fileAnswers = {e.folder.file("d.xml")};
    e.f.N10Click();
    EXPECT_EQ(visible(e.folder.read("d.xml")), visible(testing::golden("compressed.xml")));
}

TEST(FilesHandlers, AnEmptyConditionsBlockKeepsTheListAndUpdateMode) {
    EditorForm e;
    e.addNamed("X1");
    e.f.ConditionsView.select(e.f.ConditionsView.items.lastTopLevel());
    e.f.BitBtn3Click();
    e.folder.write("p.xml", cp("<НАЗВАНИЕ>n</НАЗВАНИЕ>\r\n<УСЛОВИЯ>\r\n</УСЛОВИЯ>\r\n"));
    e.forms.dialogs.fileAnswers = {e.folder.file("p.xml")};
    e.f.N11Click();
    EXPECT_EQ(e.f.PortfelName.text, "n");
    EXPECT_EQ(notationOf(e.f.ConditionsView.items), "X1");
    EXPECT_TRUE(e.updateModeShown());
}

TEST(FilesHandlers, LoadingAListEndsAWaitingChange) {
    EditorForm e;
    e.addNamed("X1");
    e.f.ConditionsView.select(e.f.ConditionsView.items.lastTopLevel());
    e.f.BitBtn3Click();
    e.folder.write("two.con", cp("<УСЛОВИЕ>\r\n\t<ДЕЙСТВИЕ>L1</ДЕЙСТВИЕ>\r\n\t</УСЛОВИЕ>\r\n"));
    e.forms.dialogs.fileAnswers = {e.folder.file("missing.con"), e.folder.file("two.con")};
    EXPECT_THROW(e.f.N4Click(), Error);
    EXPECT_TRUE(e.updateModeShown()) << "a failed load changes nothing";
    e.f.N4Click();
    EXPECT_FALSE(e.updateModeShown());
    e.addNamed("X2");
    EXPECT_EQ(notationOf(e.f.ConditionsView.items), "L1 [ИЛИ] X2")
        << "the press adds, it writes nothing back";
}

TEST(FilesHandlers, ATruncatedDescriptionChangesNoControlAndNamesTheFile) {
    EditorForm e;
    fillPortfolio(e.f, false);
    e.folder.write("cut.xml", cp("<НАЗВАНИЕ>new</НАЗВАНИЕ>\r\n<УСЛОВИЯ>\r\n<УСЛОВИЕ>\r\n"));
    e.folder.write("msg.xml", cp("<НАЗВАНИЕ>new</НАЗВАНИЕ>\r\n<СООБЩЕНИЕ>\r\n"));
    e.forms.dialogs.fileAnswers = {e.folder.file("cut.xml"), e.folder.file("msg.xml")};
    for (const char* name : {"cut.xml", "msg.xml"}) {
        try {
            e.f.N11Click();
            ADD_FAILURE() << name << " loaded";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(e.folder.file(name)), std::string::npos);
        }
        EXPECT_EQ(e.f.PortfelName.text, "SBER_cross");
        EXPECT_EQ(notationOf(e.f.ConditionsView.items), "X1 [И] X2");
    }
}

TEST(FilesHandlers, TheMessageFileIsTheChosenFullName) {
    EditorForm e;
    e.forms.dialogs.fileAnswers = {e.folder.file("Сообщения/sber.txt")};
    e.f.SpeedButton1Click();
    EXPECT_EQ(e.f.FileNameMessage.text, e.folder.file("Сообщения/sber.txt"));
}

} // namespace
} // namespace zorvant::app
