#pragma once
// A test server written in Python as a child process on a loopback address, with a self-signed
// certificate made for that address that only the test trusts. The server prints one JSON line once it
// is up, and stops when its standard input closes; it is stopped when the object goes.
#include "support/json_value.h"
#include "support/temp_folder.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace zorvant::testing {

class PythonServer {
public:
    // The script's arguments follow "--cert <file> --key <file>"; its standard error goes to server.log.
    PythonServer(const std::string& script, const std::string& address, std::vector<std::string> arguments,
                 const TempFolder& folder);
    ~PythonServer();
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;

    // The JSON line it printed once up.
    const JsonValue& ready() const { return ready_; }
    std::string caFile() const;

private:
    std::string readLine() const;

    const TempFolder& folder_;
    pid_t pid_ = -1;
    int toServer_ = -1;
    int fromServer_ = -1;
    JsonValue ready_;
};

} // namespace zorvant::testing
