#pragma once
// TForm1's window: four pages with tabs at the bottom, the main menu, the watch timer, the tray icon, F1
// help, and closing that saves the settings.
#include "app/tform1.h"
#include "ui/handler_runner.h"

#include <QMainWindow>
#include <QThreadPool>

class QTabWidget;
class QTimer;

namespace zorvant::ui {

class DescriptionPage;
class JournalPage;
class QtDialogs;
class ScriptPage;
class SettingsPage;
class TrayIcon;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(app::TForm1& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();
    // Closes at the end of the session or on a termination signal: the settings are saved if they can
    // be, the errors go to standard error, and nothing keeps the window open.
    void closeUnattended(QtDialogs& dialogs);
    bool tickRunning() const { return tickRunning_; }
    // Closes for real ("Выход"), also where closing the window only hides it in the tray.
    void quit();
    // True once a close has been accepted.
    bool closed() const { return closed_; }
    ~MainWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refreshTimer();
    void giveFocus();
    // Runs the watch tick on a worker thread over a snapshot, so that the window keeps working while it
    // claims and carries out; its reports are shown back here. A tick due while one runs is skipped.
    void startTick();
    // Shows what the watcher has reported since, finished deliveries included.
    void showWaitingReports();
    void tickFinished(const std::vector<watch::TickReport>& reports);

    app::TForm1& form_;
    HandlerRunner& runner_;
    QTabWidget* PageControl1;
    DescriptionPage* description_;
    SettingsPage* settings_;
    ScriptPage* script_;
    JournalPage* journal_;
    TrayIcon* tray_;
    QTimer* Timer1;
    bool activated_ = false;
    bool tickRunning_ = false;
    bool closed_ = false;
    bool quitting_ = false;
    QThreadPool ticks_;
};

} // namespace zorvant::ui
