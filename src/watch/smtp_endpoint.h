#pragma once
// Where the mail goes: the server named in the mail settings, with its port and its kind of TLS.
#include <string>
#include <string_view>

namespace zorvant::watch {

inline constexpr int kSmtpPort = 25;
inline constexpr int kSmtpsPort = 465;

struct SmtpEndpoint {
    std::string host;
    int port = kSmtpPort;
    // Port 465 speaks TLS from the first byte; every other port upgrades with STARTTLS when offered.
    bool implicitTls() const { return port == kSmtpsPort; }
    std::string url() const;
};

// Reads "host", "host:port" or "[v6 address]:port"; blanks around it are dropped. Throws zorvant::Error
// for an empty host, a port outside 1 to 65535, or a character that no host name has (which would
// otherwise change the meaning of the server's address).
SmtpEndpoint parseSmtpEndpoint(std::string_view mailhost);

} // namespace zorvant::watch
