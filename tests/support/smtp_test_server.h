#pragma once
// The test SMTP server (smtp_server.py on aiosmtpd) as a child process on a loopback address of its
// own, with SMTPS on port 465 as real servers have it, and a self-signed certificate made for that
// address. It stops when the object goes.
#include "support/json_value.h"
#include "support/python_server.h"
#include "support/temp_folder.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::testing {

class SmtpTestServer {
public:
    static constexpr std::string_view kUser = "robot";
    static constexpr std::string_view kPassword = "secret";

    struct Options {
        std::vector<std::string> refused;  // "550" at RCPT
        std::vector<std::string> deferred; // "450" at RCPT
        std::string address;               // a loopback address of its own when empty
        int plainPort = 0;                 // any free port when 0
    };
    // Recipients in refused get "550" at RCPT.
    explicit SmtpTestServer(const std::vector<std::string>& refused = {})
        : SmtpTestServer(Options{refused, {}, {}, 0}) {}
    explicit SmtpTestServer(const Options& options);
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    // "plain" (no TLS), "starttls" or "smtps", as "address:port".
    std::string host(std::string_view listener) const;
    int port(std::string_view listener) const;
    // The certificate that signs the server's own, for the client to trust.
    std::string caFile() const;
    const std::string& address() const { return address_; }

    // The messages received so far, in order, as the server's mail parser read them.
    std::vector<JsonValue> messages() const;
    // One line per command of interest, such as "starttls NOOP" or "auth LOGIN robot ok".
    std::vector<std::string> events() const;

private:
    TempFolder folder_;
    std::string address_;
    std::unique_ptr<PythonServer> server_;
    std::map<std::string, int, std::less<>> ports_;
};

// A port on the loopback address where nothing listens.
int closedPort(const std::string& address);
// A loopback address of its own, 127.x.y.z, so that servers of tests that run at once do not collide.
std::string randomLoopbackAddress();

} // namespace zorvant::testing
