#include "cli/no_desktop.h"

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::cli {
using namespace text::literals;

namespace {
[[noreturn]] void refuse() {
    throw Error(std::string("Действие недоступно в этой команде zorvant-cli"_cp));
}
} // namespace

bool FilesOnlyServices::plainFileExists(std::string_view name) {
    return platform::plainFileExists(name);
}
bool FilesOnlyServices::deleteFile(std::string_view name) {
    return platform::deleteFile(name);
}
bool FilesOnlyServices::copyFileReplacing(std::string_view from, std::string_view to) {
    return platform::copyFileReplacing(from, to);
}
bool FilesOnlyServices::renameFile(std::string_view from, std::string_view to) {
    return platform::renameFile(from, to);
}
std::string FilesOnlyServices::readFile(std::string_view name) {
    return platform::readFile(name);
}
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
