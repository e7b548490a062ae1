#pragma once
// Closing the main window when the session ends or the program is told to stop, so that the
// settings are saved then as they are at a normal close.
namespace zorvant::ui {

class MainWindow;
class QtDialogs;

void closeOnShutdown(MainWindow& window, QtDialogs& dialogs);

} // namespace zorvant::ui
