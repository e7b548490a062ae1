#include "cli/no_desktop.h"

#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::cli {
using namespace text::literals;

namespace {
[[noreturn]] void refuse() {
    throw Error(std::string("Действие недоступно в этой команде zorvant-cli"_cp));
}
} // namespace

void FilesOnlyServices::shellOpen(std::string_view) {
    refuse();
}
void FilesOnlyServices::startCommandLine(std::string_view) {
    refuse();
}
void FilesOnlyServices::playSound(std::string_view) {
    refuse();
}

void NoMailSender::send(const watch::MailSettings&, std::string_view, std::string_view) {
    refuse();
}

} // namespace zorvant::cli
