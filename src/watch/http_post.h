#pragma once
// One HTTP(S) POST of a JSON body through libcurl, for the messenger channels. The server's certificate
// is always checked; every wait is bounded; a stop request ends the transfer within a tenth of a second.
#include <chrono>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace zorvant::watch {

struct HttpOptions {
    // A file of trusted certificates; empty means the system's own store.
    std::string caFile;
    std::chrono::seconds connect{15};
    // The whole request and its reply.
    std::chrono::seconds transfer{60};
};

struct HttpReply {
    long status = 0;  // the HTTP status; 0 when no reply came
    std::string body; // the start of the reply's body, at most kMostReplyBytes
    // Retry-After, when given in seconds.
    std::optional<std::chrono::seconds> retryAfter;
    std::string failure; // why no reply came, in libcurl's words (ASCII); empty when one did
    bool stopped = false;
};

inline constexpr std::size_t kMostReplyBytes = 64 * 1024;

// The body is UTF-8 JSON. Never throws for a failed transfer: the reply says what happened.
HttpReply postJson(const std::string& url, std::string_view json, const HttpOptions& options,
                   std::stop_token stop);

} // namespace zorvant::watch
