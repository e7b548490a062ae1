#include "app/tform1.h"
#include "app/tform_preview.h"
#include "platform/platform.h"
#include "platform/services.h"
#include "text/cp1251.h"
#include "ui/about_box.h"
#include "ui/handler_runner.h"
#include "ui/images.h"
#include "ui/mail_dialog.h"
#include "ui/main_window.h"
#include "ui/preview_dialog.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_text.h"
#include "ui/shutdown_signals.h"
#include "watch/smtp_sender.h"

#include <QApplication>

int main(int argc, char** argv) {
    using namespace zorvant;
    using namespace text::literals;
    QApplication application(argc, argv);
    // The application name is the title of its message boxes; a display name would also be appended
    // to every window's title.
    QApplication::setApplicationName(ui::qt("Генерация информирующих скриптов для QUIK"_cp));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ui::programIcon())));
    QApplication::setQuitOnLastWindowClosed(true);

    ui::QtDialogs dialogs;
    watch::SmtpMailSender mail;
    app::TForm2 form2(dialogs, mail);
    app::TForm4 form4("1.1");
    app::TForm1 form1(app::Environment{dialogs, platform::systemServices(), mail, platform::programFolder(),
                                       platform::decimalSeparator()},
                      form2, form4);
    form1.FormCreate();

    ui::HandlerRunner runner(dialogs);
    ui::MainWindow window(form1, runner);
    ui::MailDialog mailDialog(form2, runner, &window);
    ui::AboutBox aboutBox(form4, &window);
    app::TFormPreview formPreview(form1);
    ui::PreviewDialog previewDialog(formPreview, runner, &window);
    dialogs.setOwner(&window);
    dialogs.setMailSettingsDialog(&mailDialog);
    dialogs.setAboutBox(&aboutBox);
    dialogs.setHistoryPreview(&previewDialog);
    ui::closeOnShutdown(window, dialogs);

    window.show();
    return QApplication::exec();
}
