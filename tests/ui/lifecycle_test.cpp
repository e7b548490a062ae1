// Start-up and closing through the real windows: the settings file that closing writes, a save that
// fails, mail settings typed into the dialog, and the close when the system asks the program to stop, also
// while a start-up message is open.
#include "text/cp1251.h"
#include "text/lines.h"
#include "ui/qt_dialogs.h"
#include "ui/shutdown_signals.h"
#include "ui_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#endif

using namespace zorvant;
using namespace zorvant::testing;

namespace {

std::vector<QString> settingsFileLines(const TempFolder& folder) {
    std::vector<QString> lines;
    for (const auto& line : text::splitSettingsLines(folder.read("Zorvant.ini")))
        lines.push_back(u(text::toUtf8(line).c_str()));
    return lines;
}

// Asks the program to stop as its system does: a termination signal on POSIX; on Windows, where a
// raised SIGTERM ends the process at once, the end of the user's session.
void askToStop(QWidget& window) {
#ifdef _WIN32
    SendMessageW(reinterpret_cast<HWND>(window.winId()), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    // The session goes on after all: the tests after this one still run in this process. The window
    // asked may be gone by now, and Qt takes no further request until one of its windows hears this.
    QWidget any;
    SendMessageW(reinterpret_cast<HWND>(any.winId()), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
#else
    (void)window;
    std::raise(SIGTERM);
#endif
}

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunShowsTheStartStateAndClosingWritesFifteenLines() {
        UiFixture ui;
        ui.start();
        QCOMPARE(ui.window->windowTitle(), u("Генерация информирующих скриптов для QUIK"));
        QCOMPARE(ui.window->size(), QSize(752, 483));
        auto* pages = ui.find<QTabWidget>("PageControl1");
        QCOMPARE(pages->tabPosition(), QTabWidget::South);
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(pages->tabText(1), u("Настройки"));
        QVERIFY(!ui.find<QLineEdit>("client_code")->isEnabled());
        QCOMPARE(ui.find<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QCOMPARE(ui.find<QSpinBox>("TimeInterval")->value(), 5);
        QCOMPARE(ui.find<QSpinBox>("TimeInterval")->maximum(), 3600);
        QCOMPARE(ui.find<QComboBox>("period1")->currentText(), u("5 МИН"));
        QCOMPARE(ui.find<QComboBox>("LogOp")->currentText(), u("ИЛИ"));
        QVERIFY(std::filesystem::is_directory(ui.folder.native("Портфели")));

        QVERIFY(ui.window->close());
        const auto lines = settingsFileLines(ui.folder);
        QCOMPARE(lines.size(), std::size_t(15));
        QCOMPARE(lines.front(), u("Настройки клиента=Общие"));
        QCOMPARE(lines[8], u("Интервал просмотра=5"));
        QCOMPARE(lines.back(), u("Пароль="));
    }

    void mailSettingsTypedIntoTheDialogAreSavedAtClose() {
        UiFixture ui;
        ui.start();
        ui.mailDialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui.mailDialog.get()));
        typeText(ui.find<QComboBox>("mailhost")->lineEdit(), "smtp.example.org");
        typeText(ui.find<QLineEdit>("MailReceipt"), u("Робот <robot@example.org>"));
        typeText(ui.find<QLineEdit>("MailSubject"), u("Сигнал: покупка"));
        click(ui.find<QCheckBox>("MailAut"));
        typeText(ui.find<QLineEdit>("maillogin"), "robot");
        typeText(ui.find<QLineEdit>("mailpassword"), "p=a;ss");
        QCOMPARE(ui.find<QLineEdit>("mailpassword")->echoMode(), QLineEdit::Password);
        click(ui.mailDialog->findChild<QPushButton*>("BitBtn1"));
        QVERIFY(!ui.mailDialog->isVisible());

        QVERIFY(ui.window->close());
        const auto lines = settingsFileLines(ui.folder);
        QCOMPARE(lines.size(), std::size_t(15));
        QCOMPARE(lines[9], u("Почтовый сервер=smtp.example.org"));
        QCOMPARE(lines[10], u("Обратный адрес=Робот <robot@example.org>"));
        QCOMPARE(lines[11], u("Тема письма=Сигнал: покупка"));
        QCOMPARE(lines[12], u("Аутентификация=1"));
        QCOMPARE(lines[13], u("Имя пользователя=robot"));
        QCOMPARE(lines[14], u("Пароль=p=a;ss"));
    }

    // The test runs off the window's thread: while a server keeps it waiting, the dialog takes input
    // and the button stays disabled.
    void theConnectionTestReportsThroughTheDialogWithoutFreezingIt() {
        UiFixture ui;
        ui.start();
        ui.mailDialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui.mailDialog.get()));
        typeText(ui.find<QComboBox>("mailhost")->lineEdit(), "mail.local");
        ui.forms->mail.connectionWorks = false;
        std::atomic<bool> answered = false;
        ui.forms->mail.whileTesting = [&] {
            while (!answered)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        };
        auto* test = ui.mailDialog->findChild<QPushButton*>("BitBtn2");
        click(test);
        QVERIFY(!test->isEnabled());
        typeText(ui.find<QLineEdit>("MailSubject"), "typed meanwhile");
        QCOMPARE(ui.forms->form2.MailSubject.text, std::string("typed meanwhile"));
        QVERIFY(ui.forms->dialogs.messages.empty());
        answered = true;
        QTRY_VERIFY(test->isEnabled());
        QCOMPARE(ui.forms->mail.tested.size(), std::size_t(1));
        QCOMPARE(ui.forms->mail.tested[0].host, std::string("mail.local"));
        QCOMPARE(ui.forms->dialogs.messagesUtf8(),
                 std::vector<std::string>{"Неудачная попытка соединения с сревером."});
    }

    void aSettingsFileThatCannotBeWrittenKeepsTheWindowUnlessTheUserLeaves() {
        UiFixture ui;
        ui.start();
        std::filesystem::create_directory(ui.folder.path() / "Zorvant.ini");
        QVERIFY(!ui.window->close());
        QVERIFY(ui.window->isVisible());
        QCOMPARE(ui.forms->dialogs.messages.size(), std::size_t(1));
        QVERIFY(ui.forms->dialogs.messagesUtf8()[0].find("Zorvant.ini") != std::string::npos);

        ui.forms->dialogs.closeWithoutSavingAnswer = true;
        QVERIFY(ui.window->close());
        QVERIFY(!ui.window->isVisible());
        QVERIFY(std::filesystem::is_directory(ui.folder.path() / "Zorvant.ini"));
    }

    void aRequestToStopClosesTheWindowAndSavesTheSettings() {
        UiFixture ui;
        ui.start();
        ui.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
        click(ui.find<QRadioButton>("ClientConfigInd"));
        typeText(ui.find<QLineEdit>("firmid"), "MC0001");
        ui::QtDialogs unattended;
        ui::closeOnShutdown(*ui.window, unattended);
        askToStop(*ui.window);
        QTRY_VERIFY(!ui.window->isVisible());
        const auto lines = settingsFileLines(ui.folder);
        QCOMPARE(lines.size(), std::size_t(15));
        QCOMPARE(lines[0], u("Настройки клиента=Индивидуальные"));
        QCOMPARE(lines[2], u("Фирма=MC0001"));
    }

    void aRequestToStopDuringAStartUpMessageEndsTheProgramAndKeepsTheSettingsFile() {
        DesktopFixture d;
        const std::string stored = text::fromUtf8("Интервал просмотра=abc\r\nФирма=mc01\r\n");
        d.folder.write("Zorvant.ini", stored);
        ui::closeOnShutdown(d.program.window(), d.program.dialogs());
        bool tickingDuringStartUp = true;
        whenModalOpens([&](QWidget*) {
            tickingDuringStartUp = d.program.window().findChild<QTimer*>("Timer1")->isActive();
            askToStop(d.program.window());
        });
        // Should the message stay open, it is cancelled after a while so that the test can fail.
        bool stillOpen = false;
        QTimer rescue;
        rescue.setSingleShot(true);
        connect(&rescue, &QTimer::timeout, [&] {
            stillOpen = QApplication::activeModalWidget() != nullptr;
            if (stillOpen)
                rejectDialog(QApplication::activeModalWidget());
        });
        rescue.start(3000);
        QVERIFY(!d.program.start());
        QVERIFY(!stillOpen);
        QVERIFY(!tickingDuringStartUp);
        QVERIFY(!d.program.window().isVisible());
        QCOMPARE(d.folder.read("Zorvant.ini"), stored);
    }
};

std::vector<std::unique_ptr<QObject>> makeLifecycleTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<LifecycleTest>());
    return tests;
}

#include "lifecycle_test.moc"
