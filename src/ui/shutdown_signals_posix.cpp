#include "ui/main_window.h"
#include "ui/qt_dialogs.h"
#include "ui/shutdown_signals.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zorvant::ui {

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop reads the pipe and does the rest.
extern "C" void onTerminationSignal(int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void closeAndQuit(MainWindow& window, QtDialogs& dialogs) {
    window.closeUnattended(dialogs);
    QApplication::quit();
}

} // namespace

void closeOnShutdown(MainWindow& window, QtDialogs& dialogs) {
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window,
                     [&](QSessionManager&) { closeAndQuit(window, dialogs); });
    if (::pipe(signalPipe) != 0)
        return;
    for (int end : signalPipe)
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, &dialogs] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[0], &byte, 1);
        closeAndQuit(window, dialogs);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace zorvant::ui
