#pragma once
// The program's windows over the real widgets, with scripted dialogs and recording services in a
// fresh program folder, and the ways a user reaches them: typing, clicking, menus.
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "ui/desktop_program.h"
#include "ui/handler_runner.h"
#include "ui/mail_dialog.h"
#include "ui/main_window.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace zorvant::testing {

struct UiFixture {
    UiFixture();
    // Shows the main window, which applies the settings as at start-up.
    void start();

    TempFolder folder;
    std::unique_ptr<Forms> forms;
    std::unique_ptr<ui::HandlerRunner> runner;
    std::unique_ptr<ui::MainWindow> window;
    std::unique_ptr<ui::MailDialog> mailDialog;

    // The widget of that name in the main window (the mail dialog's own BitBtn1 and BitBtn2 are found
    // through mailDialog).
    template <typename T> T* find(const char* name) const {
        T* widget = window->findChild<T*>(name);
        if (widget == nullptr)
            widget = mailDialog->findChild<T*>(name);
        return widget;
    }
};

// The program as main builds it, with Qt's real dialogs, over recording services in a fresh program
// folder. The window is not shown yet.
struct DesktopFixture {
    TempFolder folder;
    RecordingServices system;
    RecordingMailSender mail;
    ui::DesktopProgram program{system, mail, folder.folderName(), ','};
};

// Types text character by character, Cyrillic included, into the widget that has the focus.
void typeText(QWidget* widget, const QString& text);
// Selects all of an editable field's text and types the new text over it.
void retype(QWidget* widget, const QString& text);
void click(QWidget* widget);
// Opens the main menu entry (a top-level menu's item, or a top-level command) as a mouse would.
void chooseMenu(QWidget* window, const QString& menu, const QString& item = {});
// Runs answer on the next popup menu or modal window that opens, then returns.
void whenModalOpens(std::function<void(QWidget*)> answer);
// Cancels the modal dialog that is open.
void rejectDialog(QWidget* modal);
// Clicks the menu entry with this text in an open popup menu.
void clickMenuItem(QMenu* menu, const QString& text);

QString u(const char* utf8);

} // namespace zorvant::testing
