#include "cli/no_desktop.h"

#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::cli {
using namespace text::literals;

namespace {
const std::string kRefusal("Действие недоступно в этой команде zorvant-cli"_cp);

[[noreturn]] void refuse() {
    throw Error(kRefusal);
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

watch::DeliveryOutcome NoMailSender::deliver(const watch::Parcel&, std::stop_token) {
    return {watch::DeliveryOutcome::Kind::RetryLater, kRefusal};
}

} // namespace zorvant::cli
