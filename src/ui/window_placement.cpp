#include "ui/window_placement.h"

#include <QWidget>

namespace zorvant::ui {

void centreOver(QWidget& window, const QWidget* owner) {
    if (owner == nullptr)
        return;
    // The geometry, unlike move, leaves the window frame out, as the owner's geometry does.
    window.setGeometry(QRect(owner->geometry().center() - window.rect().center(), window.size()));
}

} // namespace zorvant::ui
