#pragma once
// The stand-in for the Telegram Bot API and a webhook receiver (http_server.py) over HTTPS on a loopback
// address of its own, with a certificate only the test trusts. It stops when the object goes.
#include "support/json_value.h"
#include "support/python_server.h"
#include "support/temp_folder.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zorvant::testing {

class HttpTestServer {
public:
    // The bot token the server knows; any other gets 401.
    static constexpr std::string_view kToken = "123456:test-Token_x";

    HttpTestServer();

    // "https://<address>:<port>", the Bot API server to set.
    std::string url() const;
    std::string caFile() const { return server_->caFile(); }
    // The next requests are answered with these statuses, one each, and a retry_after for a 429; a
    // status of 0 is the usual answer.
    void answerNext(const std::vector<std::pair<int, int>>& statuses) const;
    // Every request so far: {"path", "status", "content_type", "body"}.
    std::vector<JsonValue> requests() const;
    // The texts that chat was sent and the server accepted, in order (UTF-8).
    std::vector<std::string> accepted(std::string_view chat) const;

private:
    TempFolder folder_;
    std::string address_;
    std::unique_ptr<PythonServer> server_;
};

} // namespace zorvant::testing
