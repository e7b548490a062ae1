// The Qt side of the dialogs: the general error handler's message box, the close-without-saving
// question, file dialog filters, Qt's Russian texts, the about box and the help window and where they
// open, and text fields that refuse what Windows-1251 cannot hold.
#include "app/tform4.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "ui/about_box.h"
#include "ui/handler_runner.h"
#include "ui/help_window.h"
#include "ui/qt_dialogs.h"
#include "ui/telegram_dialog.h"
#include "ui/translations.h"
#include "ui_fixture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolTip>
#include <stdexcept>

using namespace zorvant;
using namespace zorvant::testing;

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void anErrorEscapingAHandlerIsShownWithItsOwnTextAndTheProgramGoesOn() {
        ui::QtDialogs dialogs;
        ui::HandlerRunner runner(dialogs);
        int refreshed = 0;
        runner.addView([&] { ++refreshed; });
        QStringList shown;
        const auto closeBox = [&](QWidget* open) {
            auto* box = qobject_cast<QMessageBox*>(open);
            QVERIFY(box != nullptr);
            shown << box->text();
            QCOMPARE(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        };
        whenModalOpens(closeBox);
        runner.run([] { throw Error(text::fromUtf8("Cannot create file D:\\Портфели\\x.qpl")); });
        whenModalOpens(closeBox);
        runner.run([] { throw std::runtime_error("vector::at"); });
        bool ranAfter = false;
        runner.run([&] { ranAfter = true; });

        QCOMPARE(shown, QStringList({u("Cannot create file D:\\Портфели\\x.qpl"), "vector::at"}));
        QVERIFY(ranAfter);
        QCOMPARE(refreshed, 3);
    }

    void theCloseQuestionStaysByDefaultAndClosesOnlyWhenAsked() {
        ui::QtDialogs dialogs;
        whenModalOpens([](QWidget* open) {
            QVERIFY(qobject_cast<QMessageBox*>(open)->text().contains("Zorvant.ini"));
            QTest::keyClick(open, Qt::Key_Return);
        });
        QVERIFY(!dialogs.closeWithoutSaving("Cannot create file /opt/Zorvant.ini"));
        whenModalOpens([](QWidget* open) { open->findChild<QPushButton*>("closeWithoutSaving")->click(); });
        QVERIFY(dialogs.closeWithoutSaving("Cannot create file /opt/Zorvant.ini"));

        dialogs.setUnattended(true);
        QVERIFY(dialogs.closeWithoutSaving("Cannot create file /opt/Zorvant.ini"));
        dialogs.showMessage("no box while unattended");
    }

    void dialogFiltersBecomeQtNameFilters() {
        QCOMPARE(ui::qtNameFilters("*.con|*.con"), QStringList({"*.con (*.con)"}));
        QCOMPARE(ui::qtNameFilters("*.exe; *.cmd; *.bat|*.exe; *.cmd; *.bat"),
                 QStringList({"*.exe; *.cmd; *.bat (*.exe *.cmd *.bat)"}));
        QCOMPARE(ui::qtNameFilters("Text|*.txt|All|*.*"), QStringList({"Text (*.txt)", "All (*.*)"}));
        QCOMPARE(ui::qtNameFilters(""), QStringList());
    }

    void theAboutBoxShowsTheVersionEveryTimeItOpens() {
        app::TForm4 form("1.1");
        ui::AboutBox box(form);
        for (int time = 0; time < 2; ++time) {
            box.show();
            QCOMPARE(box.findChild<QLabel*>("Version")->text(), QString("Version 1.1"));
            QCOMPARE(box.findChild<QLabel*>("ProductName")->text(),
                     u("Генерация информирующих скриптов\n(портфелей) для Quik."));
            box.findChild<QPushButton*>("BitBtn1")->click();
            QVERIFY(!box.isVisible());
        }
        QCOMPARE(box.windowTitle(), QString("About"));
        QCOMPARE(box.findChild<QLabel*>("ProgramIcon")->size(), QSize(128, 128));
        QCOMPARE(box.findChild<QLabel*>("ProgramIcon")->pixmap().toImage().depth(), 32);
    }

    void standardDialogsSpeakRussian() {
        QVERIFY(ui::installQtTranslations(*qApp));
        QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), u("Отмена"));
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(files.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text(), u("&Открыть"));
        QCOMPARE(files.labelText(QFileDialog::FileType), u("Типы файлов:"));
    }

    void theAboutBoxAndTheHelpOpenCentredOverTheMainWindow() {
        DesktopFixture d;
        ui::MainWindow& window = d.program.window();
        QVERIFY(d.program.start());
        window.move(window.pos() + QPoint(120, 70));
        const auto nearCentre = [&window](const QWidget& opened) {
            return (opened.geometry().center() - window.geometry().center()).manhattanLength() <= 2;
        };
        bool aboutCentred = false;
        whenModalOpens([&](QWidget* about) {
            aboutCentred = nearCentre(*about);
            rejectDialog(about);
        });
        d.program.form1().N22Click();
        QVERIFY(aboutCentred);

        d.folder.write("Zorvant.hlp", "<html><body><h1 id=\"context-10\">Работа</h1></body></html>");
        d.program.form1().N20Click();
        auto* help = window.findChild<ui::HelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        QVERIFY(nearCentre(*help));
        QVERIFY(window.close());
    }

    void theTelegramTestAsksOffTheWindowWithItsButtonDisabled() {
        UiFixture ui;
        ui.start();
        ui::TelegramDialog dialog(ui.forms->form1.formTelegram(), *ui.runner, ui.window.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        typeText(dialog.findChild<QLineEdit*>("TelegramToken"), "1:abc");
        typeText(dialog.findChild<QLineEdit*>("TelegramServer"), "https://127.0.0.1:1");
        auto* test = dialog.findChild<QPushButton*>("TestButton");
        QCOMPARE(test->text(), u("Проверить"));
        click(test);
        QVERIFY(!test->isEnabled());
        QTRY_VERIFY(test->isEnabled());
        const auto messages = ui.forms->dialogs.messagesUtf8();
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY2(messages[0].starts_with("Проверка не прошла: "), messages[0].c_str());
        QCOMPARE(ui.forms->form1.formTelegram().TelegramServer.text, std::string("https://127.0.0.1:1"));
    }

    void charactersWindows1251CannotHoldAreRefusedAsTheyAreTyped() {
        UiFixture ui;
        ui.start();
        auto* comment = ui.find<QLineEdit>("PortfelDesc");
        retype(comment, u("Цена ₽5"));
        QCOMPARE(comment->text(), u("Цена 5"));
        QVERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(u("«₽»")));
        comment->insert(u("🙂 рост")); // pasted: refused whole
        QCOMPARE(comment->text(), u("Цена 5"));
        QCOMPARE(ui.forms->form1.PortfelDesc.text, text::fromUtf8("Цена 5"));
    }

    void helpIsShownFromTheFileBesideTheProgramOrReportedMissing() {
        UiFixture ui;
        ui.start();
        QTest::keyClick(ui.window.get(), Qt::Key_F1);
        QCOMPARE(ui.forms->dialogs.messagesUtf8(), std::vector<std::string>{"Файл справки не найден."});

        ui.folder.write("Zorvant.hlp", "<html><body><h1 id=\"context-10\">Работа</h1></body></html>");
        QTest::keyClick(ui.window.get(), Qt::Key_F1);
        QCOMPARE(ui.forms->dialogs.helpShown.size(), std::size_t(1));
        QCOMPARE(ui.forms->dialogs.helpShown[0].second, 10);

        ui::HelpWindow help;
        help.showTopic(QString::fromStdU16String(ui.folder.native("Zorvant.hlp").u16string()), 10);
        QVERIFY(help.findChild<QTextBrowser*>("HelpText")->toPlainText().contains(u("Работа")));
    }
};

std::vector<std::unique_ptr<QObject>> makeDialogsTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<DialogsTest>());
    return tests;
}

#include "dialogs_test.moc"
