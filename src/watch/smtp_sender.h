#pragma once
// The mail sender of the program: SMTP through libcurl, with STARTTLS or SMTPS as the server's port
// asks, and LOGIN authentication when the settings ask for it.
#include "watch/mail_sender.h"

#include <string>

namespace zorvant::watch {

struct SmtpOptions {
    // A file of trusted certificates; empty means the system's own store.
    std::string caFile;
    long connectTimeoutSeconds = 30;
    // The whole exchange of one send or test, connection included.
    long transferTimeoutSeconds = 120;
};

class SmtpMailSender final : public MailSender {
public:
    explicit SmtpMailSender(SmtpOptions options = {});

    void send(const MailSettings& settings, std::string_view recipients, std::string_view body) override;
    bool testConnection(const MailSettings& settings) override;

private:
    SmtpOptions options_;
};

} // namespace zorvant::watch
