#pragma once
// Sending one e-mail through the configured SMTP server. Texts are Windows-1251.
#include <string>
#include <string_view>

namespace zorvant::watch {

// The values of the mail settings dialog at the moment of sending.
struct MailSettings {
    std::string host; // "host" or "host:port"
    std::string returnAddress;
    std::string subject;
    bool authenticate = false;
    std::string login;
    std::string password;
};

class MailSender {
public:
    virtual ~MailSender() = default;
    // Sends the body to the comma-separated recipients; returns only once the server accepted the
    // message, and throws zorvant::Error with the server's own words otherwise.
    virtual void send(const MailSettings& settings, std::string_view recipients, std::string_view body) = 0;
    // Connects, greets, introduces itself and quits, without logging in; false on any failure.
    virtual bool testConnection(const MailSettings& settings) = 0;
};

} // namespace zorvant::watch
