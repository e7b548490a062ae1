#pragma once
// The icon in the desktop's notification area, where the desktop has one: its tooltip is the last alert,
// a balloon shows each alert when the option is on, and its menu opens the window or ends the program.
#include "app/controls.h"

#include <QObject>

class QSystemTrayIcon;
class QWidget;

namespace zorvant::ui {

class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(const app::TrayIcon& model, QWidget& window);
    // False where the desktop has no notification area.
    bool shown() const;
    void refresh();

signals:
    void quitChosen();

private:
    void showWindow();

    const app::TrayIcon& model_;
    QWidget& window_;
    QSystemTrayIcon* icon_ = nullptr;
    int shownBalloons_ = 0;
};

} // namespace zorvant::ui
