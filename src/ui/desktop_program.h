#pragma once
// The desktop program as main starts it: the window models, their views, the real dialogs and the
// wiring between them. Tests build the same program over recording services.
#include "app/tform1.h"
#include "app/tform_preview.h"
#include "ui/about_box.h"
#include "ui/handler_runner.h"
#include "ui/mail_dialog.h"
#include "ui/main_window.h"
#include "ui/preview_dialog.h"
#include "ui/qt_dialogs.h"
#include "ui/telegram_dialog.h"

#include <string>

namespace zorvant::ui {

class DesktopProgram {
public:
    DesktopProgram(platform::Services& system, watch::MailSender& mail, std::string programFolder,
                   char decimalSeparator);

    // Shows the main window, which runs start-up. False when a stop asked for during start-up (a
    // termination signal while a start-up message was open) has closed the window already, so that
    // there is no event loop to enter.
    bool start();

    app::TForm1& form1() { return form1_; }
    MainWindow& window() { return window_; }
    QtDialogs& dialogs() { return dialogs_; }

private:
    QtDialogs dialogs_;
    app::TForm2 form2_;
    app::TForm4 form4_;
    app::TForm1 form1_;
    HandlerRunner runner_;
    MainWindow window_;
    MailDialog mailDialog_;
    TelegramDialog telegramDialog_;
    AboutBox aboutBox_;
    app::TFormPreview formPreview_;
    PreviewDialog previewDialog_;
};

} // namespace zorvant::ui
