#pragma once
#include "app/dialogs.h"

#include <deque>
#include <iosfwd>

namespace zorvant::cli {

// Dialogs for a command run without windows: messages go to the stream as UTF-8, and file questions
// are answered in turn from the names given on the command line; any further question is cancelled.
// Nobody can mend an unwritable settings file here, so that error is reported and nothing stays open.
class AnsweringDialogs final : public app::Dialogs {
public:
    explicit AnsweringDialogs(std::ostream& messages) : messages_(messages) {}

    // Windows-1251 file names; nothing stands for a cancelled dialog.
    std::deque<std::optional<std::string>> fileAnswers;

    void showMessage(std::string_view text) override;
    bool closeWithoutSaving(std::string_view error) override {
        showMessage(error);
        return true;
    }
    std::optional<std::string> openFile(const app::FileDialogRequest&) override { return nextAnswer(); }
    std::optional<std::string> saveFile(const app::FileDialogRequest&) override { return nextAnswer(); }
    std::optional<std::string> browseForFolder(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    void showMailSettings() override {}
    void showAbout() override {}
    void showHelp(std::string_view, int) override {}

private:
    std::optional<std::string> nextAnswer();

    std::ostream& messages_;
};

} // namespace zorvant::cli
