#include "cli/console_dialogs.h"

#include "text/cp1251.h"

#include <ostream>

namespace zorvant::cli {

void ConsoleDialogs::showMessage(std::string_view text) {
    out_ << text::toUtf8(text) << '\n';
}

} // namespace zorvant::cli
