#pragma once
// Telegram through the Bot API (sendMessage), over HTTPS with libcurl. The record's target is one or
// more chats separated by commas; a text over 4096 characters goes as several messages in order. What
// a chat has accepted is kept in the delivery's progress, so that a retry never sends it twice; a chat
// that refuses for good is reported and the others still get the message.
#include "watch/delivery_channel.h"
#include "watch/http_post.h"
#include "watch/telegram_settings.h"

#include <stop_token>
#include <string>
#include <vector>

namespace zorvant::watch {

inline constexpr std::string_view kPublicBotApi = "https://api.telegram.org";
inline constexpr std::size_t kMostTelegramCharacters = 4096;

// The answer of getMe, for the settings dialog's test. Texts are Windows-1251.
struct BotCheck {
    bool passed = false;
    std::string text; // the bot's name, or the server's own error text
};

class TelegramChannel final : public DeliveryChannel {
public:
    explicit TelegramChannel(HttpOptions options = {});

    DeliveryOutcome deliver(const Parcel& parcel, std::stop_token stop) override;
    BotCheck checkBot(const TelegramSettings& settings, std::stop_token stop) const;

private:
    HttpOptions options_;
};

// The chats of a target: separated by commas, spaces around them dropped, empty ones skipped.
std::vector<std::string> chatsOf(std::string_view target);
// The messages a text goes as, in order, each of at most kMostTelegramCharacters characters.
std::vector<std::string> telegramParts(std::string_view text);

} // namespace zorvant::watch
