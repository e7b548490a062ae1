#include "support/scripted_dialogs.h"

#include "text/cp1251.h"

namespace zorvant::testing {

std::optional<std::string> ScriptedDialogs::nextFileAnswer() {
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const app::FileDialogRequest& request) {
    openRequests.push_back(request);
    return nextFileAnswer();
}

std::optional<std::string> ScriptedDialogs::saveFile(const app::FileDialogRequest& request) {
    saveRequests.push_back(request);
    return nextFileAnswer();
}

std::optional<std::string> ScriptedDialogs::browseForFolder(std::string_view, std::string_view startFolder) {
    folderStarts.emplace_back(startFolder);
    if (folderAnswers.empty())
        return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedDialogs::messagesUtf8() const {
    std::vector<std::string> out;
    for (const auto& message : messages)
        out.push_back(text::toUtf8(message));
    return out;
}

} // namespace zorvant::testing
