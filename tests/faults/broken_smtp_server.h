#pragma once
// broken_smtp_server.py as a child process on 127.0.0.1: an SMTP server that fails in one chosen way.
#include "support/child_process.h"
#include "support/temp_folder.h"

#include <memory>
#include <string>
#include <vector>

namespace zorvant::testing {

class BrokenSmtpServer {
public:
    // mode: "drop-after-greeting", "drop-after-data", "silent" or "silent-after-ehlo".
    explicit BrokenSmtpServer(const std::string& mode);

    // "127.0.0.1:port", as the mail settings name a server.
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    // The commands the server received, one per line, and "end of data" once a whole message came.
    std::vector<std::string> commands() const;

private:
    TempFolder folder_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};

} // namespace zorvant::testing
