#include "platform/platform.h"
#include "platform/services.h"
#include "text/cp1251.h"
#include "ui/desktop_program.h"
#include "ui/images.h"
#include "ui/qt_text.h"
#include "ui/shutdown_signals.h"
#include "ui/translations.h"
#include "watch/smtp_sender.h"

#include <QApplication>

int main(int argc, char** argv) {
    using namespace zorvant;
    using namespace text::literals;
    QApplication application(argc, argv);
    ui::installQtTranslations(application);
    // The application name is the title of its message boxes; a display name would also be appended
    // to every window's title.
    QApplication::setApplicationName(ui::qt("Генерация информирующих скриптов для QUIK"_cp));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ui::programIcon())));
    QApplication::setQuitOnLastWindowClosed(true);

    watch::SmtpMailSender mail;
    ui::DesktopProgram program(platform::systemServices(), mail, platform::programFolder(),
                               platform::decimalSeparator());
    ui::closeOnShutdown(program.window(), program.dialogs());
    if (!program.start())
        return 0;
    return QApplication::exec();
}
