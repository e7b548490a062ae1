#include "watch/telegram_channel.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "watch/bot_reply.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace zorvant::watch {
using namespace text::literals;

namespace {
using Kind = DeliveryOutcome::Kind;
using Verdict = BotReply::Verdict;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The address of a Bot API method. The token goes into the path, so only the characters a token has are
// let through.
std::string methodUrl(const TelegramSettings& settings, std::string_view method) {
    if (settings.token.empty())
        throw Error(std::string("Не задан токен бота Telegram (меню «Настройка Telegram»)."_cp));
    const bool tokenCharacters = std::all_of(settings.token.begin(), settings.token.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':' ||
               c == '_' || c == '-';
    });
    if (!tokenCharacters)
        throw Error(std::string("Токен бота Telegram содержит недопустимые символы."_cp));
    std::string server = settings.server.empty() ? std::string(kPublicBotApi) : settings.server;
    if (!server.starts_with("https://") && !server.starts_with("http://"))
        throw Error(std::string("Адрес сервера Telegram должен начинаться с https:// или http://: "_cp) +
                    server + ".");
    while (server.ends_with('/'))
        server.pop_back();
    return server + "/bot" + settings.token + "/" + std::string(method);
}

std::string sendMessageBody(std::string_view chat, std::string_view part) {
    const nlohmann::json body = {{"chat_id", text::toUtf8(chat)}, {"text", text::toUtf8(part)}};
    return body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string refusalList(const DeliveryProgress& progress) {
    std::string list;
    for (const auto& [chat, reason] : progress.refused)
        list += (list.empty() ? "" : ", ") + chat + " (" + reason + ")";
    return list;
}

// Every chat has had every part, or refused: what became of the message as a whole.
DeliveryOutcome finished(DeliveryProgress progress) {
    DeliveryOutcome outcome;
    if (!progress.refused.empty()) {
        const bool noneAccepted = progress.sent.empty();
        outcome = {noneAccepted ? Kind::SetAside : Kind::DeliveredWithRefusals,
                   std::string(noneAccepted ? "Telegram не принял сообщение ни в один чат: "_cp
                                            : "Сообщение доставлено не во все чаты: Telegram не принял "_cp) +
                       refusalList(progress) + "."};
    }
    outcome.progress = std::move(progress);
    return outcome;
}

DeliveryOutcome tryLater(std::string reason, DeliveryProgress progress,
                         std::optional<std::chrono::seconds> wait = std::nullopt) {
    DeliveryOutcome outcome{Kind::RetryLater, std::move(reason), wait};
    outcome.progress = std::move(progress);
    return outcome;
}

DeliveryOutcome failedReply(const BotReply& reply, DeliveryProgress progress) {
    if (reply.verdict == Verdict::TokenRefused)
        return tryLater(
            std::string("Сервер Telegram не принял токен бота: "_cp) + reply.description +
                std::string(". Сообщение сохранено и будет отправлено, когда токен будет исправлен."_cp),
            std::move(progress));
    return tryLater(std::string("Не удалось отправить сообщение в Telegram: "_cp) + reply.description +
                        std::string(". Сообщение будет отправлено позже."_cp),
                    std::move(progress), reply.retryAfter);
}

} // namespace

std::vector<std::string> chatsOf(std::string_view target) {
    std::vector<std::string> chats;
    for (std::size_t start = 0; start <= target.size();) {
        const std::size_t comma = std::min(target.find(',', start), target.size());
        if (const auto chat = trimmed(target.substr(start, comma - start)); !chat.empty())
            chats.emplace_back(chat);
        start = comma + 1;
    }
    return chats;
}

std::vector<std::string> telegramParts(std::string_view text) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size(); at += kMostTelegramCharacters)
        parts.emplace_back(text.substr(at, kMostTelegramCharacters));
    return parts;
}

TelegramChannel::TelegramChannel(HttpOptions options) : options_(std::move(options)) {}

DeliveryOutcome TelegramChannel::deliver(const Parcel& parcel, std::stop_token stop) {
    DeliveryProgress progress = parcel.progress;
    try {
        const std::string url = methodUrl(parcel.telegram, "sendMessage");
        const auto chats = chatsOf(parcel.target);
        if (chats.empty())
            throw Error(std::string("Не указан ни один чат Telegram."_cp));
        // The server refuses a text of nothing but spaces; such a message still says which file fired.
        const bool blank = trimmed(parcel.text).empty();
        const auto parts = telegramParts(blank ? std::string_view(parcel.messageFile) : parcel.text);
        for (const std::string& chat : chats) {
            for (std::size_t i = 0; i < parts.size() && !progress.refused.contains(chat); ++i) {
                const std::string unit = chat + '\n' + std::to_string(i);
                if (progress.sent.contains(unit))
                    continue;
                const BotReply reply =
                    readBotReply(postJson(url, sendMessageBody(chat, parts[i]), options_, stop));
                if (reply.verdict == Verdict::Accepted)
                    progress.sent.insert(unit);
                else if (reply.verdict == Verdict::ChatRefused)
                    progress.refused.emplace(chat, reply.description);
                else
                    return failedReply(reply, std::move(progress));
            }
        }
        return finished(std::move(progress));
    } catch (const Error& error) {
        // Settings or a target that cannot make a message: kept until they are mended.
        return tryLater(error.what(), std::move(progress));
    }
}

BotCheck TelegramChannel::checkBot(const TelegramSettings& settings, std::stop_token stop) const {
    try {
        const BotReply reply = readBotReply(postJson(methodUrl(settings, "getMe"), "{}", options_, stop));
        if (reply.verdict == Verdict::Accepted)
            return {true, reply.botName};
        return {false, reply.description};
    } catch (const Error& error) {
        return {false, error.what()};
    }
}

} // namespace zorvant::watch
