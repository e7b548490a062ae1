#include "app/settings_file.h"

#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using namespace text::literals;
using testing::Forms;
using testing::TempFolder;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

// Starts the program on a settings file with these lines (UTF-8 here, Windows-1251 on disk).
struct Started {
    TempFolder folder;
    Forms forms{folder.folderName()};

    explicit Started(const std::vector<std::string>& utf8Lines, std::string_view lineEnd = "\r\n") {
        std::string bytes;
        for (const auto& line : utf8Lines)
            bytes += cp(line) + std::string(lineEnd);
        folder.write("Zorvant.ini", bytes);
        forms.form1.FormActivate();
    }
    TForm1& main() { return forms.form1; }
    TForm2& mail() { return forms.form2; }
};

TEST(SettingsFile, WritesTheWorkedExampleByteForByte) {
    TempFolder folder;
    Forms forms(folder.folderName());
    TForm1& f = forms.form1;
    f.FormActivate();
    f.ConFolder.text = cp("D:\\Trade\\Условия\\");
    f.DescFolder.text = cp("D:\\Trade\\Описания\\");
    f.PortfelFolder.text = cp("D:\\Trade\\Портфели\\");
    f.MessFolder.text = cp("D:\\Trade\\Сообщения\\");
    f.TableFiles.rows = {
        {cp("D:\\Trade\\Сообщения\\m1.txt"), cp("Проиграть wav файл"), "D:\\Sounds\\alarm.wav"}};
    ASSERT_TRUE(f.FormClose());

    const std::string expected =
        cp("Настройки клиента=Общие\r\nКод клиента=\r\nФирма=\r\nСчет депо=\r\n"
           "Папка условий=D:\\Trade\\Условия\\\r\nПапка описаний=D:\\Trade\\Описания\\\r\n"
           "Папка портфелей=D:\\Trade\\Портфели\\\r\nПапка сообщений=D:\\Trade\\Сообщения\\\r\n"
           "Интервал просмотра=5\r\nПочтовый сервер=\r\nОбратный адрес=\r\nТема письма=\r\n"
           "Аутентификация=0\r\nИмя пользователя=\r\nПароль=\r\n"
           "Файл сообщений=D:\\Trade\\Сообщения\\m1.txt;Проиграть wav файл;"
           "D:\\Sounds\\alarm.wav\r\n");
    EXPECT_EQ(folder.read("Zorvant.ini"), expected) << testing::visible(folder.read("Zorvant.ini"));
}

TEST(SettingsFile, ReadsEverySettingBack) {
    Started s({"Настройки клиента=Индивидуальные",
               "Код клиента=ab1",
               "Фирма=mc01",
               "Счет депо=l01",
               "Папка условий=C:\\c\\",
               "Папка описаний=C:\\d\\",
               "Папка портфелей=C:\\p\\",
               "Папка сообщений=C:\\m\\",
               "Интервал просмотра=17",
               "Почтовый сервер=smtp.example.ru:587",
               "Обратный адрес=Робот <robot@example.ru>",
               "Тема письма=Сигнал",
               "Аутентификация=1",
               "Имя пользователя=robot",
               "Пароль=p=a;s s",
               "Telegram токен=1:ab-C_d",
               "Telegram сервер=https://bot.example.ru",
               "Закрывать в область уведомлений=1",
               "Всплывающие уведомления=1",
               "Файл сообщений=C:\\m\\1.txt;Открыть файл;C:\\m\\1.txt",
               "Файл сообщений=C:\\m\\2.txt;Отправить эл. почтой;a@b.ru, c@d.ru"});
    TForm1& f = s.main();
    EXPECT_TRUE(f.ClientConfigInd.checked);
    EXPECT_FALSE(f.ClientConfigAll.checked);
    EXPECT_TRUE(f.client_code.enabled);
    EXPECT_EQ(f.Label1.colour, Colour::windowText());
    EXPECT_EQ(f.client_code.text, "ab1");
    EXPECT_EQ(f.firmid.text, "mc01");
    EXPECT_EQ(f.account.text, "l01");
    EXPECT_EQ(f.ConFolder.text, "C:\\c\\");
    EXPECT_EQ(f.MessFolder.text, "C:\\m\\");
    EXPECT_EQ(f.TimeInterval.value, 17);
    EXPECT_EQ(f.Timer1.intervalMs, 17000);
    EXPECT_EQ(s.mail().mailhost.text, "smtp.example.ru:587");
    EXPECT_EQ(s.mail().MailReceipt.text, cp("Робот <robot@example.ru>"));
    EXPECT_TRUE(s.mail().MailAut.checked);
    EXPECT_EQ(s.mail().mailpassword.text, "p=a;s s");
    EXPECT_EQ(f.formTelegram().TelegramToken.text, "1:ab-C_d");
    EXPECT_EQ(f.formTelegram().TelegramServer.text, "https://bot.example.ru");
    EXPECT_TRUE(f.CloseToTray.checked);
    EXPECT_TRUE(f.AlertBalloons.checked);
    ASSERT_EQ(f.TableFiles.rows.size(), 2u);
    EXPECT_EQ(f.TableFiles.rows[1][2], "a@b.ru, c@d.ru");

    // Written back unchanged, in the fixed order.
    ASSERT_TRUE(f.FormClose());
    const auto lines = text::splitSettingsLines(s.folder.read("Zorvant.ini"));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[14], cp("Пароль=p=a;s s"));
    EXPECT_EQ(lines[15], cp("Telegram токен=1:ab-C_d"));
    EXPECT_EQ(lines[18], cp("Всплывающие уведомления=1"));
    EXPECT_EQ(lines[20], cp("Файл сообщений=C:\\m\\2.txt;Отправить эл. почтой;a@b.ru, c@d.ru"));
}

TEST(SettingsFile, CutsWatchLinesAtTheFirstTwoSemicolons) {
    Started s({"Файл сообщений=only target", "Файл сообщений=a;rest",
               "Файл сообщений=C:\\m.txt;Запустить "
               "приложение;C:\\a.exe /p;q"});
    const auto& rows = s.main().TableFiles.rows;
    ASSERT_EQ(rows.size(), 2u); // the first row's message file is empty, so the table was still blank
    EXPECT_EQ(rows[0], (StringGrid::Row{"a", "", "rest"}));
    EXPECT_EQ(rows[1], (StringGrid::Row{"C:\\m.txt", cp("Запустить приложение"), "C:\\a.exe /p;q"}));
}

TEST(SettingsFile, LimitsAndRoundsTheInterval) {
    const std::pair<const char*, int> cases[] = {{"0", 1},   {"-5", 1},  {"3601", 3600}, {"99999", 3600},
                                                 {"2,5", 2}, {"3,5", 4}, {"7,49", 7},    {"1", 1},
                                                 {"5.5", 6}, {"2.5", 2}}; // hand-edited with a point
    for (const auto& [stored, expected] : cases) {
        Started s({std::string("Интервал просмотра=") + stored});
        EXPECT_EQ(s.main().TimeInterval.value, expected) << stored;
        EXPECT_EQ(s.main().Timer1.intervalMs, expected * 1000) << stored;
        EXPECT_TRUE(s.forms.dialogs.messages.empty());
    }
}

TEST(SettingsFile, ABadLineCostsOnlyThatLineAndUnknownLinesDoNoHarm) {
    Started s({"Код клиента=ab1", "Интервал просмотра=abc", "Фирма=mc01", "Файлы свечей=C:\\sber.txt",
               "Почтовый сервер=smtp.example.ru", "Интервал просмотра=", "Файл сообщений=C:\\m.txt;;x"});
    ASSERT_EQ(s.forms.dialogs.messages.size(), 1u);
    const std::string message = s.forms.dialogs.messagesUtf8()[0];
    EXPECT_NE(message.find("строка 2: \"abc\" не является"), std::string::npos) << message;
    EXPECT_NE(message.find("строка 6: \"\" не является"), std::string::npos) << message;
    EXPECT_NE(message.find("Эти строки пропущены, остальные строки прочитаны."), std::string::npos)
        << message;
    EXPECT_EQ(s.main().TimeInterval.value, 5);
    EXPECT_FALSE(s.main().ConFolder.text.empty()); // the completion steps ran

    // Everything after the bad lines was read, so closing keeps it.
    ASSERT_TRUE(s.main().FormClose());
    const auto lines = text::splitSettingsLines(s.folder.read("Zorvant.ini"));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[1], cp("Код клиента=ab1"));
    EXPECT_EQ(lines[2], cp("Фирма=mc01"));
    EXPECT_EQ(lines[9], cp("Почтовый сервер=smtp.example.ru"));
    EXPECT_EQ(lines[15], cp("Файл сообщений=C:\\m.txt;;x"));
}

TEST(SettingsFile, ALineSetsOnlyTheSettingItsKeyBegins) {
    Started s({"Фирма=mc01", "Тема письма=Фирма=X Код клиента=Y", "Пароль=Код клиента=Z", " Фирма=spaced",
               "Аутентификация=1 "});
    EXPECT_EQ(s.main().firmid.text, "mc01");
    EXPECT_EQ(s.main().client_code.text, "");
    EXPECT_EQ(s.mail().MailSubject.text, cp("Фирма=X Код клиента=Y"));
    EXPECT_EQ(s.mail().mailpassword.text, cp("Код клиента=Z"));
    EXPECT_FALSE(s.mail().MailAut.checked); // only exactly "1" checks the box
}

TEST(SettingsFile, LaterLinesWinAndLineEndsMayBeBareLf) {
    Started s({"Фирма=first", "Фирма=second", "Код клиента=a\rb"}, "\n");
    EXPECT_EQ(s.main().firmid.text, "second");
    EXPECT_EQ(s.main().client_code.text, "ab"); // a lone CR is dropped
}

TEST(SettingsFile, ABlankTableWritesNoWatchLineWhateverItsOtherCells) {
    TempFolder folder;
    Forms forms(folder.folderName());
    forms.form1.FormActivate();
    forms.form1.TableFiles.rows = {{"", cp("Открыть файл"), "x"}};
    ASSERT_TRUE(forms.form1.FormClose());
    EXPECT_EQ(text::splitSettingsLines(folder.read("Zorvant.ini")).size(), 15u);
    forms.form1.TableFiles.rows = {{"a", "", ""}, {"", "b", "c"}};
    ASSERT_TRUE(forms.form1.FormClose());
    const auto lines = text::splitSettingsLines(folder.read("Zorvant.ini"));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[16], cp("Файл сообщений=;b;c"));
}

TEST(SettingsFile, AFailedSaveKeepsTheOldFileAndTheWindowOpen) {
    TempFolder folder;
    Forms forms(folder.folderName());
    forms.form1.FormActivate();
    std::filesystem::create_directory(folder.path() / "Zorvant.ini"); // a folder where the file should be
    EXPECT_FALSE(forms.form1.FormClose());
    ASSERT_EQ(forms.dialogs.messages.size(), 1u);
    EXPECT_NE(forms.dialogs.messagesUtf8()[0].find("Zorvant.ini"), std::string::npos);
    forms.dialogs.closeWithoutSavingAnswer = true; // the user may leave without saving
    EXPECT_TRUE(forms.form1.FormClose());
    std::filesystem::remove(folder.path() / "Zorvant.ini");

    folder.write("Zorvant.ini", "old");
    Forms readOnly(folder.folderName() + "missing/");
    readOnly.form1.FormActivate();
    EXPECT_FALSE(readOnly.form1.FormClose());
    EXPECT_EQ(folder.read("Zorvant.ini"), "old");
}

} // namespace
} // namespace zorvant::app
