#include "ui/main_window.h"

#include "text/cp1251.h"
#include "ui/description_page.h"
#include "ui/images.h"
#include "ui/journal_page.h"
#include "ui/main_menu.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_text.h"
#include "ui/script_page.h"
#include "ui/settings_page.h"
#include "ui/tray_icon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

namespace zorvant::ui {
using namespace text::literals;

inline constexpr QSize kWindowSize(752, 483);

MainWindow::MainWindow(app::TForm1& form, HandlerRunner& runner, QWidget* parent)
    : QMainWindow(parent), form_(form), runner_(runner) {
    setObjectName("Form1");
    setWindowTitle(qt("Генерация информирующих скриптов для QUIK"_cp));
    setWindowIcon(QIcon(QPixmap::fromImage(programIcon())));
    buildMainMenu(*menuBar(), form_, runner_);
    QAction* exit = menuBar()->addAction(qt("Выход"_cp));
    exit->setObjectName("N12");
    connect(exit, &QAction::triggered, this, &MainWindow::quit);

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName("PageControl1");
    PageControl1->setTabPosition(QTabWidget::South);
    description_ = new DescriptionPage(form_, runner_);
    settings_ = new SettingsPage(form_, runner_);
    script_ = new ScriptPage(form_.ScriptText);
    journal_ = new JournalPage(form_.Journal);
    connect(script_, &ScriptPage::historyPreviewClicked, this,
            [this] { runner_.run([this] { form_.HistoryPreviewClick(); }); });
    PageControl1->addTab(description_, qt("Описание"_cp));
    PageControl1->addTab(settings_, qt("Настройки"_cp));
    PageControl1->addTab(script_, qt("Скрипт"_cp));
    PageControl1->addTab(journal_, qt("Журнал"_cp));
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int page) { form_.PageControl1.activePageIndex = page; });
    setCentralWidget(PageControl1);
    tray_ = new TrayIcon(form_.Tray, *this);
    connect(tray_, &TrayIcon::quitChosen, this, &MainWindow::quit);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    connect(Timer1, &QTimer::timeout, this, &MainWindow::startTick);
    ticks_.setMaxThreadCount(1);
    // Deliveries finish on the watcher's own thread; their reports are shown here.
    form_.watcher().onReports([this] {
        QMetaObject::invokeMethod(
            this, [this] { showWaitingReports(); }, Qt::QueuedConnection);
    });

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { runner_.run([this] { form_.N20Click(); }); });

    resize(kWindowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    runner_.addView([this] { refresh(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    runner_.run([this] { form_.FormActivate(); });
}

void MainWindow::refresh() {
    description_->refresh();
    settings_->refresh();
    script_->refresh();
    journal_->refresh();
    tray_->refresh();
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(form_.PageControl1.activePageIndex);
    }
    refreshTimer();
    giveFocus();
}

void MainWindow::giveFocus() {
    if (form_.ActiveControl.empty())
        return;
    if (auto* control = findChild<QWidget*>(QString::fromStdString(form_.ActiveControl)))
        control->setFocus(Qt::OtherFocusReason);
    form_.ActiveControl.clear();
}

void MainWindow::refreshTimer() {
    // The timer runs only once start-up has given it its period (not while a start-up message is
    // open), and not after the close.
    if (!form_.started() || closed_ || !form_.Timer1.enabled) {
        Timer1->stop();
        return;
    }
    if (Timer1->interval() != form_.Timer1.intervalMs || !Timer1->isActive())
        Timer1->start(form_.Timer1.intervalMs);
}

MainWindow::~MainWindow() {
    ticks_.waitForDone();
    form_.watcher().onReports({});
}

void MainWindow::startTick() {
    if (tickRunning_)
        return;
    tickRunning_ = true;
    watch::TickInput input = form_.watchSnapshot();
    watch::Watcher& watcher = form_.watcher();
    ticks_.start([this, &watcher, input = std::move(input)] {
        std::vector<watch::TickReport> reports;
        try {
            reports = watcher.tick(input).value_or(std::vector<watch::TickReport>{});
        } catch (const std::exception& error) {
            reports.push_back({watch::TickReport::Kind::Error, {}, {}, {}, {}, error.what()});
        }
        QMetaObject::invokeMethod(
            this,
            [this, reports = std::move(reports)] {
                tickRunning_ = false;
                tickFinished(reports);
            },
            Qt::QueuedConnection);
    });
}

// The page "Журнал" also follows what another watcher on the same table writes to the log.
void MainWindow::tickFinished(const std::vector<watch::TickReport>& reports) {
    if (!reports.empty()) {
        runner_.run([&] { form_.showTickReports(reports); });
        return;
    }
    form_.JournalRefresh();
    journal_->refresh();
}

void MainWindow::showWaitingReports() {
    const std::vector<watch::TickReport> reports = form_.watcher().takeReports();
    if (!reports.empty())
        runner_.run([&] { form_.showTickReports(reports); });
}

void MainWindow::quit() {
    quitting_ = true;
    close();
    quitting_ = false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!quitting_ && form_.hidesOnClose(tray_->shown())) {
        hide();
        event->ignore();
        return;
    }
    // A window hidden in the tray is no last window whose close ends the program.
    const bool hidden = isHidden();
    bool closing = false;
    runner_.run([&] { closing = form_.FormClose(); });
    if (closing) {
        closed_ = true;
        Timer1->stop();
        ticks_.waitForDone();
        // A send in progress is cut short; its message stays claimed and goes at the next start.
        form_.watcher().stopDeliveries();
        event->accept();
        if (hidden)
            QCoreApplication::quit();
    } else {
        event->ignore();
    }
}

void MainWindow::closeUnattended(QtDialogs& dialogs) {
    dialogs.setUnattended(true);
    // An open dialog runs an event loop of its own that nobody is there to end; during start-up no
    // other loop runs yet that a quit could end.
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible())
            dialog->reject();
    quit();
}

} // namespace zorvant::ui
