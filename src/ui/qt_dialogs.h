#pragma once
// The questions only a person can answer, asked with Qt's message boxes and file dialogs, and the
// program's own modal windows. Unattended (closing at the end of the session or on a signal), messages
// go to standard error and the close-without-saving question is answered yes.
#include "app/dialogs.h"

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace zorvant::ui {

class HelpWindow;

// A filter of the form "description|pattern|description|pattern", patterns separated by ";", as a Qt
// name filter list ("description (pattern pattern)").
QStringList qtNameFilters(std::string_view filter);

class QtDialogs : public app::Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;

    void setOwner(QWidget* owner) { owner_ = owner; }
    void setMailSettingsDialog(QDialog* dialog) { mailSettings_ = dialog; }
    void setTelegramSettingsDialog(QDialog* dialog) { telegramSettings_ = dialog; }
    void setAboutBox(QDialog* dialog) { about_ = dialog; }
    void setHistoryPreview(QDialog* dialog) { historyPreview_ = dialog; }
    void setUnattended(bool unattended) { unattended_ = unattended; }
    // Brings the windows up to date with their models before a modal window opens, so that what a
    // handler changed before asking (the page on show, the script) is what the user sees.
    void setBeforeModal(std::function<void()> refresh) { beforeModal_ = std::move(refresh); }

    void showMessage(std::string_view text) override;
    bool closeWithoutSaving(std::string_view error) override;
    std::optional<std::string> openFile(const app::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const app::FileDialogRequest& request) override;
    std::optional<std::string> browseForFolder(std::string_view title, std::string_view startFolder) override;
    void showMailSettings() override;
    void showTelegramSettings() override;
    void showAbout() override;
    void showHistoryPreview() override;
    void showHelp(std::string_view helpFile, int context) override;

private:
    std::optional<std::string> runFileDialog(const app::FileDialogRequest& request, bool save);
    void showModelsFirst();

    QWidget* owner_ = nullptr;
    QDialog* mailSettings_ = nullptr;
    QDialog* telegramSettings_ = nullptr;
    QDialog* about_ = nullptr;
    QDialog* historyPreview_ = nullptr;
    HelpWindow* help_ = nullptr;
    bool unattended_ = false;
    std::function<void()> beforeModal_;
};

} // namespace zorvant::ui
