// The Qt side of the dialogs: the general error handler's message box, the close-without-saving
// question, file dialog filters, the about box and the help window.
#include "app/tform4.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "ui/about_box.h"
#include "ui/handler_runner.h"
#include "ui/help_window.h"
#include "ui/qt_dialogs.h"
#include "ui_fixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
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
