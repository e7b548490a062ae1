#pragma once
// The mail sender of the program: SMTP through libcurl, with STARTTLS or SMTPS as the server's port
// asks, and LOGIN authentication, only ever over TLS, when the settings ask for it.
#include "watch/mail_sender.h"

#include <chrono>
#include <string>

namespace zorvant::watch {

struct SmtpOptions {
    // A file of trusted certificates; empty means the system's own store.
    std::string caFile;
    // Connecting, TLS, the greeting, the introduction and the login.
    std::chrono::seconds connect{30};
    // Each reply once connected; RFC 5321 gives the reply after the message's end up to ten minutes, and
    // a server that accepts that late must not get the message twice.
    std::chrono::seconds reply{600};
    // The whole exchange.
    std::chrono::seconds exchange{900};
    // The reply to QUIT, once the mail is through.
    std::chrono::seconds quit{5};
};

class SmtpMailSender final : public MailSender {
public:
    explicit SmtpMailSender(SmtpOptions options = {});

    DeliveryOutcome deliver(const Parcel& parcel, std::stop_token stop) override;
    bool testConnection(const MailSettings& settings, std::stop_token stop) override;

private:
    SmtpOptions options_;
};

} // namespace zorvant::watch
