#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

namespace zorvant::testing {

UiFixture::UiFixture() : forms(std::make_unique<Forms>(folder.folderName())) {
    runner = std::make_unique<ui::HandlerRunner>(forms->dialogs);
    window = std::make_unique<ui::MainWindow>(forms->form1, *runner);
    mailDialog = std::make_unique<ui::MailDialog>(forms->form2, *runner, window.get());
}

void UiFixture::start() {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void typeText(QWidget* widget, const QString& text) {
    widget->setFocus();
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void retype(QWidget* widget, const QString& text) {
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    typeText(widget, text);
}

void click(QWidget* widget) {
    // Near the left edge: a radio button or check box takes clicks only on its mark and caption.
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      QPoint(std::min(widget->width() / 2, 8), widget->height() / 2));
}

void whenModalOpens(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* open = QApplication::activePopupWidget();
        if (open == nullptr)
            open = QApplication::activeModalWidget();
        if (open == nullptr || !open->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(open);
    });
    timer->start();
}

void rejectDialog(QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->reject();
}

void clickMenuItem(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    }
    QFAIL(qPrintable("no menu item " + text));
}

void chooseMenu(QWidget* window, const QString& menu, const QString& item) {
    auto* bar = window->findChild<QMenuBar*>();
    QVERIFY(bar != nullptr);
    for (QAction* action : bar->actions()) {
        if (action->text() != menu)
            continue;
        if (!item.isEmpty())
            whenModalOpens([item](QWidget* popup) { clickMenuItem(qobject_cast<QMenu*>(popup), item); });
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
        return;
    }
    QFAIL(qPrintable("no menu " + menu));
}

} // namespace zorvant::testing
