#include "ui/main_window.h"
#include "ui/qt_dialogs.h"
#include "ui/shutdown_signals.h"

#include <QApplication>
#include <QSessionManager>

namespace zorvant::ui {

void closeOnShutdown(MainWindow& window, QtDialogs& dialogs) {
    // Windows asks every program to commit its data when the user logs off or shuts down.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window, [&](QSessionManager&) {
        window.closeUnattended(dialogs);
        QApplication::quit();
    });
}

} // namespace zorvant::ui
