#pragma once
#include "watch/mail_sender.h"

namespace zorvant::cli {

// The mail sender of a build without SMTP: every send fails with a clear text, so the message file stays.
class UnavailableMailSender final : public watch::MailSender {
public:
    void send(const watch::MailSettings& settings, std::string_view recipients,
              std::string_view body) override;
    bool testConnection(const watch::MailSettings& settings) override;
};

} // namespace zorvant::cli
