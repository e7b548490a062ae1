#pragma once
// A Dialogs fake that records every message and answers every question as the test scripted it.
#include "app/dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zorvant::testing {

class ScriptedDialogs : public app::Dialogs {
public:
    // Answers, taken in order; a question with no scripted answer counts as cancelled.
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    // The answer to "close without saving?"; its question is recorded among the messages.
    bool closeWithoutSavingAnswer = false;

    // What the program asked and said, in order.
    std::vector<std::string> messages;
    std::vector<app::FileDialogRequest> openRequests;
    std::vector<app::FileDialogRequest> saveRequests;
    std::vector<std::string> folderStarts;
    int mailSettingsShown = 0;
    int aboutShown = 0;
    int historyPreviewShown = 0;
    std::vector<std::pair<std::string, int>> helpShown;

    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    bool closeWithoutSaving(std::string_view error) override {
        messages.emplace_back(error);
        return closeWithoutSavingAnswer;
    }
    std::optional<std::string> openFile(const app::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const app::FileDialogRequest& request) override;
    std::optional<std::string> browseForFolder(std::string_view title, std::string_view startFolder) override;
    void showMailSettings() override { ++mailSettingsShown; }
    void showAbout() override { ++aboutShown; }
    void showHistoryPreview() override { ++historyPreviewShown; }
    void showHelp(std::string_view helpFile, int context) override {
        helpShown.emplace_back(helpFile, context);
    }

    // The messages as UTF-8, for readable assertions.
    std::vector<std::string> messagesUtf8() const;

private:
    std::optional<std::string> nextFileAnswer();
};

} // namespace zorvant::testing
