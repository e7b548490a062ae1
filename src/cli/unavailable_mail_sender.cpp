#include "cli/unavailable_mail_sender.h"

#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::cli {
using namespace text::literals;

void UnavailableMailSender::send(const watch::MailSettings&, std::string_view, std::string_view) {
    throw Error(std::string("Отправка почты недоступна в этой сборке программы"_cp));
}

bool UnavailableMailSender::testConnection(const watch::MailSettings&) {
    return false;
}

} // namespace zorvant::cli
