#pragma once
// The main menu of the main window, each entry bound to its handler.
#include "app/tform1.h"
#include "ui/handler_runner.h"

class QMenuBar;

namespace zorvant::ui {

void buildMainMenu(QMenuBar& bar, app::TForm1& form, HandlerRunner& runner);

} // namespace zorvant::ui
