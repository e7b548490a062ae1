#pragma once
// The values of the Telegram settings dialog at the moment of sending. Texts are Windows-1251.
#include <string>

namespace zorvant::watch {

struct TelegramSettings {
    std::string token;
    std::string server; // the Bot API address; empty for the public one
};

} // namespace zorvant::watch
