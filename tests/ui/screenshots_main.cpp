// Takes the screenshots of docs/screenshots: the four pages, the mail and Telegram settings dialogs and
// the about box, over a small example portfolio, at the window's own size, and "Проверка на истории"
// over the portfolio and candle files of examples/. The folder to write to is the first argument.
#include "app/tform4.h"
#include "app/tform_preview.h"
#include "text/cp1251.h"
#include "ui/about_box.h"
#include "ui/preview_dialog.h"
#include "ui/telegram_dialog.h"
#include "ui_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <ctime>

using namespace zorvant;
using namespace zorvant::testing;

namespace {

void save(QWidget* widget, const QString& folder, const char* name) {
    QTest::qWait(200);
    widget->grab().save(QDir(folder).filePath(name));
}

void fillExample(UiFixture& ui) {
    retype(ui.find<QLineEdit>("schedule1"), "SBER");
    retype(ui.find<QComboBox>("action1")->lineEdit(), u("ПЕРЕСЕКАЕТ ВВЕРХ"));
    retype(ui.find<QLineEdit>("schedule2"), "SBER");
    click(ui.find<QPushButton>("BitBtn1"));
    retype(ui.find<QComboBox>("LogOp")->lineEdit(), u("И"));
    retype(ui.find<QComboBox>("action1")->lineEdit(), u("СВЕЧА РОСТА (CLOSE>OPEN)"));
    click(ui.find<QPushButton>("BitBtn1"));
    retype(ui.find<QLineEdit>("FileNameMessage"), u("C:\\QUIK\\Сообщения\\sber.txt"));
    auto* tree = ui.find<QTreeWidget>("ConditionsView");
    tree->collapseItem(tree->topLevelItem(2)); // a collapsed condition reads as one line
    tree->setCurrentItem(tree->topLevelItem(0));

    ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    // Folders as an installation on Windows shows them, rather than the temporary program folder.
    const std::pair<const char*, const char*> folders[] = {{"ConFolder", "C:\\QUIK\\Zorvant\\Условия\\"},
                                                           {"DescFolder", "C:\\QUIK\\Zorvant\\Описания\\"},
                                                           {"PortfelFolder", "C:\\QUIK\\Zorvant\\Портфели\\"},
                                                           {"MessFolder", "C:\\QUIK\\Сообщения\\"}};
    for (const auto& [name, path] : folders)
        retype(ui.find<QLineEdit>(name), u(path));
    retype(ui.find<QLineEdit>("LookFileName"), u("C:\\QUIK\\Сообщения\\sber.txt"));
    retype(ui.find<QComboBox>("DoChoise")->lineEdit(), u("Отправить эл. почтой"));
    retype(ui.find<QLineEdit>("ExeFileName"), "trader@example.org");
    click(ui.find<QToolButton>("SpeedButton7"));
}

// A few alerts of a trading day, as the log keeps them.
void saveJournal(UiFixture& ui, const QString& folder) {
    using Kind = watch::TickReport::Kind;
    const auto at = [](int hour, int minute) {
        std::tm local{};
        local.tm_year = 124;
        local.tm_mon = 2;
        local.tm_mday = 13;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&local));
    };
    const std::string file = text::fromUtf8("C:\\QUIK\\Сообщения\\sber.txt");
    const std::string text = text::fromUtf8(" SBER 5 ПЕРЕСЕКАЕТ ВВЕРХ SBER_MA20 18:19:00");
    const watch::TickReport reports[] = {
        {Kind::Action, at(18, 19), file, std::string(watch::kSendTelegram), "-1001234567890, @sber_signals",
         text},
        {Kind::Action, at(18, 19), file, std::string(watch::kPostToWeb), "https://example.org/hook", text},
        {Kind::Error, at(18, 19), file, std::string(watch::kSendMail), "trader@example.org",
         text::fromUtf8("Не удалось отправить письмо через почтовый сервер smtp.example.org:25: сервер не "
                        "принимает соединение. Письмо будет отправлено позже."),
         text},
        {Kind::Action, at(18, 24), file, std::string(watch::kSendMail), "trader@example.org", text},
    };
    for (const auto& report : reports)
        ui.forms->form1.alertLog().append(report);
    ui.runner->run([&] { ui.forms->form1.JournalRefresh(); });
    ui.find<QTabWidget>("PageControl1")->setCurrentIndex(3);
    save(ui.window.get(), folder, "journal.png");
}

void saveTelegram(UiFixture& ui, const QString& folder) {
    ui::TelegramDialog dialog(ui.forms->form1.formTelegram(), *ui.runner, ui.window.get());
    dialog.show();
    typeText(dialog.findChild<QLineEdit*>("TelegramToken"), "7123456789:AAH-example-token");
    save(&dialog, folder, "telegram.png");
}

void savePreview(UiFixture& ui, const QString& folder) {
    const std::string examples = ZORVANT_EXAMPLES;
    app::TForm1& form = ui.forms->form1;
    ui.forms->dialogs.fileAnswers = {text::fromUtf8(examples + "/portfel.xml")};
    form.N11Click();
    form.CandleFiles = {{"PRICE", 0, examples + "/candles/price0_5min.txt"},
                        {"PRICE", 1, examples + "/candles/price1_5min.txt"},
                        {"RSI", 0, examples + "/candles/rsi0_day.txt"}};
    app::TFormPreview preview(form);
    ui::PreviewDialog dialog(preview, *ui.runner, ui.window.get());
    dialog.show();
    click(dialog.findChild<QPushButton*>("StartButton"));
    while (dialog.running())
        QTest::qWait(50);
    // The files as a trader on Windows would choose them, rather than this checkout's paths.
    for (app::LineFile& line : preview.Files)
        line.file = "C:\\QUIK\\History\\" + line.file.substr(line.file.find_last_of('/') + 1);
    preview.LinesClick(3);
    ui.runner->refreshViews();
    save(&dialog, folder, "preview.png");
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    UiFixture ui;
    ui.start();
    fillExample(ui);

    auto* pages = ui.find<QTabWidget>("PageControl1");
    pages->setCurrentIndex(0);
    save(ui.window.get(), folder, "description.png");
    pages->setCurrentIndex(1);
    save(ui.window.get(), folder, "settings.png");
    chooseMenu(ui.window.get(), u("Портфель"), u("Генерировать скрипт QPL (портфель)"));
    QTest::qWait(300);
    save(ui.window.get(), folder, "script.png");

    ui.mailDialog->show();
    typeText(ui.find<QComboBox>("mailhost")->lineEdit(), "smtp.example.org");
    typeText(ui.mailDialog->findChild<QLineEdit*>("MailReceipt"), "robot@example.org");
    typeText(ui.mailDialog->findChild<QLineEdit*>("MailSubject"), u("Сигнал QUIK"));
    save(ui.mailDialog.get(), folder, "mail.png");
    ui.mailDialog->hide();

    app::TForm4 form4("1.1");
    ui::AboutBox about(form4);
    about.show();
    save(&about, folder, "about.png");

    saveJournal(ui, folder);

    savePreview(ui, folder);
    // Last: a dialog made here leaves its refresh with the handler runner.
    saveTelegram(ui, folder);
    return 0;
}
