#pragma once
class QWidget;

namespace zorvant::ui {

// Moves a window that is about to be shown so that its centre is the centre of owner; no owner, no move.
void centreOver(QWidget& window, const QWidget* owner);

} // namespace zorvant::ui
