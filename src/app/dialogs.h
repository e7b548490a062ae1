#pragma once
// What only a person can answer. The Qt view implements it with real dialogs; tests use a scripted fake.
// All texts are Windows-1251.
#include <optional>
#include <string>
#include <string_view>

namespace zorvant::app {

// A file dialog, set up from a blank state by the handler that shows it.
struct FileDialogRequest {
    std::string initialFolder;
    std::string defaultExtension; // without the dot, such as "con"
    std::string filter;           // description and pattern joined by a bar, such as "*.con|*.con"
    std::string fileName;         // proposed file name, may be empty
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with one OK button.
    virtual void showMessage(std::string_view text) = 0;
    // Shows why the settings could not be saved and asks whether to close without saving them; true
    // closes, false (the default answer) keeps the window open. Without a way to ask, the error is
    // shown and the window stays.
    virtual bool closeWithoutSaving(std::string_view error) {
        showMessage(error);
        return false;
    }
    // The chosen file's full name, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // The chosen folder's path (no trailing separator, except for a drive's or the file system's root).
    virtual std::optional<std::string> browseForFolder(std::string_view title,
                                                       std::string_view startFolder) = 0;
    // Modal windows of their own: the mail settings dialog and the about box.
    virtual void showMailSettings() = 0;
    virtual void showAbout() = 0;
    // The window "Проверка на истории"; without windows there is none to show.
    virtual void showHistoryPreview() {}
    // The window "Настройка Telegram"; without windows there is none to show.
    virtual void showTelegramSettings() {}
    // The program's help window on the topic with the given context number.
    virtual void showHelp(std::string_view helpFile, int context) = 0;
};

} // namespace zorvant::app
