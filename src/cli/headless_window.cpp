#include "cli/headless_window.h"

#include "platform/platform.h"

#include <algorithm>

namespace zorvant::cli {

HeadlessWindow::HeadlessWindow(std::ostream& messages)
    : dialogs(messages), form2(dialogs, mail), form4("1.1"),
      form1({dialogs, system, mail, platform::programFolder(), platform::decimalSeparator()}, form2, form4) {
    form1.FormCreate();
}

namespace {

bool hasExtension(std::string name, std::string_view extension) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.ends_with(extension);
}

} // namespace

bool isPortfolioFile(const std::string& name) {
    return hasExtension(name, ".xml") || hasExtension(name, ".con");
}

void loadPortfolio(HeadlessWindow& window, const std::string& file) {
    window.dialogs.fileAnswers = {file};
    hasExtension(file, ".xml") ? window.form1.N11Click() : window.form1.N4Click();
}

} // namespace zorvant::cli
