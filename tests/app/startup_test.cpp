#include "app/tform1.h"

#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorvant::app {
namespace {
using namespace text::literals;
using testing::Forms;
using testing::TempFolder;
namespace fs = std::filesystem;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

TEST(StartUp, FirstRunWithoutASettingsFile) {
    TempFolder folder;
    Forms forms(folder.folderName());
    TForm1& f = forms.form1;
    EXPECT_EQ(f.ProgramVersion, "1.1");
    EXPECT_EQ(f.ProgramFolder, folder.folderName());
    f.PageControl1.activePageIndex = 2;
    f.FormActivate();

    EXPECT_TRUE(f.ClientConfigAll.checked);
    for (const Edit* field : {&f.client_code, &f.firmid, &f.account})
        EXPECT_FALSE(field->enabled);
    for (const Label* label : {&f.Label1, &f.Label2, &f.Label3})
        EXPECT_EQ(label->colour, Colour::gray());
    EXPECT_EQ(f.TimeInterval.value, 5);
    EXPECT_EQ(f.Timer1.intervalMs, 5000);
    EXPECT_EQ(f.ConFolder.text, folder.folderName() + cp("Условия") + platform::kPathSeparator);
    EXPECT_EQ(f.MessFolder.text, folder.folderName() + cp("Сообщения") + platform::kPathSeparator);
    for (const char* name : {"Условия", "Описания", "Портфели", "Сообщения"})
        EXPECT_TRUE(fs::is_directory(folder.native(name))) << name;
    EXPECT_EQ(f.TableFiles.rows.size(), 1u);
    EXPECT_EQ(f.TableFiles.rows[0][0], "");
    EXPECT_EQ(forms.form2.mailhost.text, "");
    EXPECT_FALSE(forms.form2.MailAut.checked);
    EXPECT_EQ(f.PageControl1.activePageIndex, 0);
    EXPECT_EQ(f.period1.text, cp("5 МИН"));
    EXPECT_EQ(f.period2.itemIndex, 4);
    EXPECT_EQ(f.action1.text, cp("ПЕРЕСЕКАЕТ"));
    EXPECT_EQ(f.LogOp.text, cp("ИЛИ"));
    EXPECT_EQ(f.TableFiles.colWidths,
              (std::array<int, 3>{f.Shape2.width - 2, f.Shape3.width - 2, f.Shape6.width - 27}));
    EXPECT_TRUE(forms.dialogs.messages.empty());

    ASSERT_TRUE(f.FormClose());
    const std::string bytes = folder.read("Zorvant.ini");
    const auto lines = text::splitSettingsLines(bytes);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines.front(), cp("Настройки клиента=Общие"));
    EXPECT_EQ(lines.back(), cp("Пароль="));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
#ifndef _WIN32 // Windows files carry no POSIX mode bits
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "Zorvant.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // the password is stored in plain text
#endif
}

TEST(StartUp, ACloseBeforeStartUpHasFinishedLeavesTheSettingsFile) {
    TempFolder folder;
    const std::string stored = cp("Фирма=mc01\r\nПочтовый сервер=smtp.example.ru\r\n");
    folder.write("Zorvant.ini", stored);
    Forms forms(folder.folderName());
    EXPECT_TRUE(forms.form1.FormClose()); // the settings were never applied
    EXPECT_EQ(folder.read("Zorvant.ini"), stored);
    forms.form1.FormActivate();
    ASSERT_TRUE(forms.form1.FormClose());
    EXPECT_EQ(text::splitSettingsLines(folder.read("Zorvant.ini"))[2], cp("Фирма=mc01"));
}

TEST(StartUp, StoredFoldersStayAndMissingDefaultsAreMadeAgain) {
    TempFolder folder;
    folder.write("Zorvant.ini", cp("Папка условий=" + folder.folderName() + "нет/глубже/\r\n"));
    Forms forms(folder.folderName());
    forms.form1.FormActivate();
    EXPECT_EQ(forms.form1.ConFolder.text, cp(folder.folderName() + "нет/глубже/"));
    EXPECT_FALSE(fs::exists(folder.native("нет"))); // no intermediate folders
    EXPECT_TRUE(fs::is_directory(folder.native("Описания")));
}

TEST(StartUp, ActivationAppliesTheSettingsOnce) {
    TempFolder folder;
    Forms forms(folder.folderName());
    forms.form1.FormActivate();
    forms.form1.firmid.text = "typed";
    forms.form1.FormActivate(); // focus back from a modal dialog
    EXPECT_EQ(forms.form1.firmid.text, "typed");
}

TEST(ClientSettings, SwitchingKeepsTheTextsAndGreysTheLabels) {
    TempFolder folder;
    Forms forms(folder.folderName());
    TForm1& f = forms.form1;
    f.ClientConfigAll.checked = false;
    f.ClientConfigInd.checked = true;
    f.ClientConfigAllClick();
    f.client_code.text = "ab1";
    EXPECT_TRUE(f.client_code.enabled);
    f.ClientConfigAll.checked = true;
    f.ClientConfigInd.checked = false;
    f.ClientConfigAllClick();
    EXPECT_FALSE(f.client_code.enabled);
    EXPECT_EQ(f.Label2.colour, Colour::gray());
    EXPECT_EQ(f.client_code.text, "ab1");
}

TEST(FolderPicker, AddsTheSeparatorAndKeepsTheTextOnCancel) {
    TempFolder folder;
    Forms forms(folder.folderName());
    TForm1& f = forms.form1;
    f.ConFolder.text = "";
    f.SpeedButton2Click(); // cancelled
    EXPECT_EQ(f.ConFolder.text, "");
    const std::string root(1, platform::kPathSeparator);
    forms.dialogs.folderAnswers = {root + "home" + root + "work", root};
    f.DescFolder.text = root + "start" + root;
    f.SpeedButton3Click();
    EXPECT_EQ(f.DescFolder.text, root + "home" + root + "work" + root);
    EXPECT_EQ(forms.dialogs.folderStarts.back(), root + "start" + root);
    f.SpeedButton11Click();
    EXPECT_EQ(f.MessFolder.text, root); // a root already ends with the separator
}

TEST(Help, OpensTheHelpFileOrSaysItIsMissing) {
    TempFolder folder;
    Forms forms(folder.folderName());
    forms.form1.N20Click();
    ASSERT_EQ(forms.dialogs.messagesUtf8(), std::vector<std::string>{"Файл справки не найден."});
    folder.write("Zorvant.hlp", "<html></html>");
    forms.form1.N20Click();
    ASSERT_EQ(forms.dialogs.helpShown.size(), 1u);
    EXPECT_EQ(forms.dialogs.helpShown[0], (std::pair<std::string, int>{folder.file("Zorvant.hlp"), 10}));
    forms.form1.N22Click();
    forms.form4.FormActivate();
    forms.form4.FormActivate();
    EXPECT_EQ(forms.dialogs.aboutShown, 1);
    EXPECT_EQ(forms.form4.Version.caption, "Version 1.1");
}

TEST(MailTest, ReportsOneOfTwoMessages) {
    TempFolder folder;
    Forms forms(folder.folderName());
    forms.form2.mailhost.text = "127.0.0.1:2525";
    forms.form2.MailAut.checked = true;
    forms.form2.mailpassword.text = "wrong";
    forms.form2.BitBtn2Click();
    forms.mail.connectionWorks = false;
    forms.form2.BitBtn2Click();
    EXPECT_EQ(
        forms.dialogs.messagesUtf8(),
        (std::vector<std::string>{"Тест успешно пройден.", "Неудачная попытка соединения с сревером."}));
    EXPECT_EQ(forms.mail.tested[0].host, "127.0.0.1:2525");
    EXPECT_TRUE(forms.mail.tested[0].authenticate);
}

} // namespace
} // namespace zorvant::app
