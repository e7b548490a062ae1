// Takes the screenshots of docs/screenshots: the three pages, the mail settings dialog and the about
// box, over a small example portfolio, at the window's own size. The folder to write to is the first
// argument.
#include "app/tform4.h"
#include "text/cp1251.h"
#include "ui/about_box.h"
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
    return 0;
}
