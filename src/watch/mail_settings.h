#pragma once
// The values of the mail settings dialog at the moment of sending. Texts are Windows-1251.
#include <string>

namespace zorvant::watch {

struct MailSettings {
    std::string host; // "host" or "host:port"
    std::string returnAddress;
    std::string subject;
    bool authenticate = false;
    std::string login;
    std::string password;
};

} // namespace zorvant::watch
