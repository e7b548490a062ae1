#include "cli/answering_dialogs.h"

#include "text/cp1251.h"

#include <ostream>

namespace zorvant::cli {

void AnsweringDialogs::showMessage(std::string_view text) {
    messages_ << text::toUtf8(text) << '\n';
}

std::optional<std::string> AnsweringDialogs::nextAnswer() {
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = std::move(fileAnswers.front());
    fileAnswers.pop_front();
    return answer;
}

} // namespace zorvant::cli
