// The "Настройки" and "Скрипт" pages driven through their widgets: client settings, folder pickers,
// the watch table, its timer and its columns, generating a script and saving it.
#include "platform/platform.h"
#include "text/cp1251.h"
#include "ui_fixture.h"
#include "watch/alert_log.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <thread>

using namespace zorvant;
using namespace zorvant::testing;

namespace {

// Walks the closed list with the arrow keys to the item, as a user would.
void chooseItem(QComboBox* box, const QString& item) {
    const int target = box->findText(item);
    QVERIFY(target >= 0);
    box->setFocus();
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
}

} // namespace

class PagesTest : public QObject {
    Q_OBJECT

private slots:
    void clientSettingsEnableTheirFieldsAndKeepTheirTexts() {
        UiFixture ui;
        ui.start();
        ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
        auto* code = ui.find<QLineEdit>("client_code");
        click(ui.find<QRadioButton>("ClientConfigInd"));
        QVERIFY(code->isEnabled());
        QCOMPARE(ui.find<QLabel>("Label1")->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::WindowText));
        typeText(code, "C123");
        click(ui.find<QRadioButton>("ClientConfigAll"));
        QVERIFY(!code->isEnabled());
        QCOMPARE(code->text(), QString("C123"));
        QCOMPARE(ui.forms->form1.client_code.text, std::string("C123"));
    }

    void theFolderPickerFillsItsFieldOrLeavesIt() {
        UiFixture ui;
        ui.start();
        ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
        auto* folder = ui.find<QLineEdit>("PortfelFolder");
        const QString before = folder->text();
        click(ui.find<QToolButton>("SpeedButton4"));
        QCOMPARE(folder->text(), before);
        const QString chosen = u("/srv/Портфели").replace('/', QChar(platform::kPathSeparator));
        ui.forms->dialogs.folderAnswers.push_back(text::fromUtf8(chosen.toStdString()));
        click(ui.find<QToolButton>("SpeedButton4"));
        QCOMPARE(folder->text(), chosen + QChar(platform::kPathSeparator));
        QCOMPARE(ui.forms->dialogs.folderStarts.front(), text::fromUtf8(before.toStdString()));
    }

    void aWatchRowIsAddedEditedAndActedOnByTheTimer() {
        UiFixture ui;
        ui.start();
        ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
        const std::string message = ui.folder.file("m1.txt");
        typeText(ui.find<QLineEdit>("LookFileName"), u(text::toUtf8(message).c_str()));
        chooseItem(ui.find<QComboBox>("DoChoise"), u("Отправить эл. почтой"));
        QCOMPARE(ui.find<QLabel>("Label19")->text(), u("на электронный адрес"));
        QVERIFY(!ui.find<QToolButton>("SpeedButton6")->isVisible());
        chooseItem(ui.find<QComboBox>("DoChoise"), u("Запустить приложение"));
        QCOMPARE(ui.find<QLabel>("Label19")->text(), u("над файлом"));
        typeText(ui.find<QLineEdit>("ExeFileName"), u("notify %ТЕКСТ%"));
        click(ui.find<QToolButton>("SpeedButton7"));

        auto* grid = ui.find<QTableWidget>("TableFiles");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 1)->text(), u("Запустить приложение"));
        QCOMPARE(grid->item(0, 2)->text(), u("notify %ТЕКСТ%"));

        click(ui.find<QToolButton>("SpeedButton12"));
        QVERIFY(!grid->isEnabled());
        QCOMPARE(grid->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
        retype(ui.find<QLineEdit>("ExeFileName"), u("notify -m %ТЕКСТ%"));
        click(ui.find<QToolButton>("SpeedButton7"));
        QVERIFY(grid->isEnabled());
        QCOMPARE(grid->item(0, 2)->text(), u("notify -m %ТЕКСТ%"));

        ui.find<QSpinBox>("TimeInterval")->setValue(1);
        QCOMPARE(ui.forms->form1.Timer1.intervalMs, 1000);
        ui.folder.write("m1.txt", text::fromUtf8("Покупка SBER\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(ui.folder.path() / "m1.txt"), 5000);
        QTRY_VERIFY(!ui.window->tickRunning());
        // Every line of the message text comes after a space.
        QCOMPARE(ui.forms->system.started.size(), std::size_t(1));
        QCOMPARE(u(text::toUtf8(ui.forms->system.started[0]).c_str()), u("notify -m  Покупка SBER"));
    }

    void theJournalPageShowsTheAlertLogNewestFirstAndKeepsUp() {
        UiFixture ui;
        watch::AlertLog other(ui.folder.folderName());
        const auto report = [](const char* text) {
            return watch::TickReport{watch::TickReport::Kind::Action,
                                     std::chrono::system_clock::now(),
                                     "m0.txt",
                                     text::fromUtf8("Открыть файл"),
                                     "doc.txt",
                                     text};
        };
        other.append(report(" before"));
        ui.start();
        auto* pages = ui.find<QTabWidget>("PageControl1");
        QCOMPARE(pages->tabText(3), u("Журнал"));
        pages->setCurrentIndex(3);
        auto* table = ui.find<QTableWidget>("JournalTable");
        QCOMPARE(table->rowCount(), 1);

        // The window's own tick writes its line, and so does another watcher on the same table.
        const std::string message = ui.folder.file("m1.txt");
        ui.forms->form1.TableFiles.rows = {
            {message, text::fromUtf8("Запустить приложение"), text::fromUtf8("notify %ТЕКСТ%")}};
        ui.find<QSpinBox>("TimeInterval")->setValue(1);
        ui.folder.write("m1.txt", text::fromUtf8("Покупка SBER\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 2, 5000);
        QCOMPARE(table->item(0, 1)->text(), u(text::toUtf8(message).c_str()));
        QCOMPARE(table->item(0, 4)->text(), u(" Покупка SBER"));
        QCOMPARE(table->item(0, 5)->text(), u("выполнено"));
        other.append(report(" after"));
        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 3, 5000);
        QCOMPARE(table->item(0, 4)->text(), u(" after"));
        QCOMPARE(table->item(2, 4)->text(), u(" before"));
    }

    // A delivery that ends after its tick reports through the window all the same.
    void aDeliveryThatFailsAfterItsTickIsShown() {
        UiFixture ui;
        ui.start();
        ui.forms->form1.TableFiles.rows = {
            {ui.folder.file("m1.txt"), text::fromUtf8("Отправить эл. почтой"), "x@y.z"}};
        ui.forms->mail.failWith = "450 try later";
        ui.forms->mail.whileSending = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
        ui.find<QSpinBox>("TimeInterval")->setValue(1);
        ui.folder.write("m1.txt", "A\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(ui.folder.path() / "m1.txt"), 5000);
        ui.find<QSpinBox>("TimeInterval")->setValue(3600); // no later tick carries the report
        QTRY_COMPARE_WITH_TIMEOUT(ui.forms->dialogs.messagesUtf8(), std::vector<std::string>{"450 try later"},
                                  5000);
        QVERIFY(std::filesystem::exists(ui.folder.path() / "m1.txt~zorvant"));
    }

    void theColumnsFollowTheWindowWidth() {
        UiFixture ui;
        ui.start();
        ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
        auto* grid = ui.find<QTableWidget>("TableFiles");
        const auto underTheirHeaders = [&] {
            return grid->columnWidth(0) == ui.find<QFrame>("Shape2")->width() - 2 &&
                   grid->columnWidth(1) == ui.find<QFrame>("Shape3")->width() - 2 &&
                   grid->columnWidth(2) == ui.find<QFrame>("Shape6")->width() - 27;
        };
        QTRY_VERIFY(underTheirHeaders());
        const int first = grid->columnWidth(0);
        const int second = grid->columnWidth(1);
        ui.window->resize(1000, 483);
        QTRY_VERIFY(grid->columnWidth(0) > first + 50);
        QTRY_VERIFY(underTheirHeaders());
        QVERIFY(grid->columnWidth(1) > second + 50);
    }

    void generatingShowsTheScriptPageAndOffersToSaveIt() {
        UiFixture ui;
        ui.start();
        click(ui.find<QPushButton>("BitBtn1"));
        retype(ui.find<QLineEdit>("PortfelName"), "Sber_watch");
        const std::string saved = ui.folder.file("Sber_watch.qpl");
        ui.forms->dialogs.fileAnswers.push_back(saved);
        chooseMenu(ui.window.get(), u("Портфель"), u("Генерировать скрипт QPL (портфель)"));
        QTRY_COMPARE(ui.find<QTabWidget>("PageControl1")->currentIndex(), 2);
        const QString script = ui.find<QPlainTextEdit>("ScriptText")->toPlainText();
        QVERIFY(script.startsWith("PORTFOLIO_EX Sber_watch;\n"));
        QVERIFY(script.contains("END_PORTFOLIO_EX"));
        QCOMPARE(ui.forms->dialogs.saveRequests.size(), std::size_t(1));
        QCOMPARE(ui.forms->dialogs.saveRequests[0].fileName, std::string("Sber_watch"));
        const std::string bytes = ui.folder.read("Sber_watch.qpl");
        QVERIFY(bytes.starts_with("PORTFOLIO_EX Sber_watch;\r\n"));

        auto* edit = ui.find<QPlainTextEdit>("ScriptText");
        edit->moveCursor(QTextCursor::Start);
        typeText(edit, "' edited");
        QTest::keyClick(edit, Qt::Key_Return);
        ui.forms->dialogs.fileAnswers.push_back(saved);
        chooseMenu(ui.window.get(), u("Портфель"), u("Сохранить скрипт QPL (портфель)"));
        QTRY_VERIFY(ui.folder.read("Sber_watch.qpl").starts_with("' edited\r\nPORTFOLIO_EX"));
    }

    void theScriptIsOnShowWhenTheSaveDialogAsks() {
        DesktopFixture d;
        QVERIFY(d.program.start());
        QWidget& window = d.program.window();
        click(window.findChild<QPushButton*>("BitBtn1"));
        int pageOnShow = -1;
        QString scriptOnShow;
        whenModalOpens([&](QWidget* saveDialog) {
            pageOnShow = window.findChild<QTabWidget*>("PageControl1")->currentIndex();
            scriptOnShow = window.findChild<QPlainTextEdit*>("ScriptText")->toPlainText();
            rejectDialog(saveDialog);
        });
        d.program.form1().N9Click();
        QCOMPARE(pageOnShow, 2);
        QVERIFY(scriptOnShow.startsWith("PORTFOLIO_EX My_portfel;"));
        QVERIFY(window.close());
    }
};

std::vector<std::unique_ptr<QObject>> makePagesTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<PagesTest>());
    return tests;
}

#include "pages_test.moc"
