#pragma once
// What a Telegram Bot API reply means for the message it answers. Internal to the Telegram channel.
#include "watch/http_post.h"

#include <chrono>
#include <optional>
#include <string>

namespace zorvant::watch {

struct BotReply {
    enum class Verdict {
        Accepted,     // HTTP 2xx and "ok": true
        ChatRefused,  // 400 or 403: this chat will not take it (not found, bot blocked)
        TokenRefused, // 401 or 404: the token is wrong; nothing will go until it is mended
        TryLater,     // no reply, 5xx, 429 or anything unexpected
    };
    Verdict verdict = Verdict::TryLater;
    // The server's own words ("description"), or libcurl's when no reply came; Windows-1251.
    std::string description;
    // 429: parameters.retry_after, or the Retry-After header.
    std::optional<std::chrono::seconds> retryAfter;
    // getMe: "@username (first name)".
    std::string botName;
};

BotReply readBotReply(const HttpReply& reply);

} // namespace zorvant::watch
