#include "ui/tray_icon.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace zorvant::ui {
using namespace text::literals;

TrayIcon::TrayIcon(const app::TrayIcon& model, QWidget& window)
    : QObject(&window), model_(model), window_(window), shownBalloons_(model.balloons) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    icon_ = new QSystemTrayIcon(window.windowIcon(), this);
    icon_->setObjectName("TrayIcon");
    auto* menu = new QMenu(&window);
    connect(menu->addAction(qt("Открыть"_cp)), &QAction::triggered, this, &TrayIcon::showWindow);
    connect(menu->addAction(qt("Выход"_cp)), &QAction::triggered, this, &TrayIcon::quitChosen);
    icon_->setContextMenu(menu);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            showWindow();
    });
    refresh();
    icon_->show();
}

bool TrayIcon::shown() const {
    return icon_ != nullptr && icon_->isVisible();
}

void TrayIcon::showWindow() {
    window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

void TrayIcon::refresh() {
    if (icon_ == nullptr)
        return;
    icon_->setToolTip(qt(model_.tip));
    if (shownBalloons_ != model_.balloons) {
        shownBalloons_ = model_.balloons;
        icon_->showMessage(qt(model_.balloonTitle), qt(model_.balloonText));
    }
}

} // namespace zorvant::ui
