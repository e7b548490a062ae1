#include "watch/bot_reply.h"

#include "text/cp1251.h"

#include <nlohmann/json.hpp>

namespace zorvant::watch {
namespace {
using Verdict = BotReply::Verdict;
using nlohmann::json;

std::string stringField(const json& object, const char* name) {
    const auto field = object.find(name);
    return field != object.end() && field->is_string() ? field->get<std::string>() : std::string();
}

std::string botNameOf(const json& result) {
    if (!result.is_object())
        return {};
    const std::string user = stringField(result, "username");
    const std::string first = stringField(result, "first_name");
    if (user.empty())
        return text::fromUtf8(first);
    return text::fromUtf8("@" + user + (first.empty() ? "" : " (" + first + ")"));
}

Verdict verdictOf(long status, bool ok) {
    if (status >= 200 && status < 300)
        return ok ? Verdict::Accepted : Verdict::TryLater;
    if (status == 400 || status == 403)
        return Verdict::ChatRefused;
    if (status == 401 || status == 404)
        return Verdict::TokenRefused;
    return Verdict::TryLater;
}

} // namespace

BotReply readBotReply(const HttpReply& reply) {
    BotReply read;
    if (reply.status == 0) {
        read.description = text::fromUtf8(reply.failure);
        return read;
    }
    const json body = json::parse(reply.body, nullptr, false);
    const bool isObject = body.is_object();
    const auto okField = isObject ? body.find("ok") : body.end();
    const bool ok = isObject && okField != body.end() && okField->is_boolean() && okField->get<bool>();
    read.verdict = verdictOf(reply.status, ok);
    read.description = isObject ? text::fromUtf8(stringField(body, "description")) : std::string();
    if (read.description.empty())
        read.description = "HTTP " + std::to_string(reply.status);
    read.retryAfter = reply.retryAfter;
    if (isObject && body.contains("parameters") && body["parameters"].is_object()) {
        const json& parameters = body["parameters"];
        if (const auto wait = parameters.find("retry_after");
            wait != parameters.end() && wait->is_number_unsigned())
            read.retryAfter = std::chrono::seconds(wait->get<std::uint64_t>());
    }
    if (ok && body.contains("result"))
        read.botName = botNameOf(body["result"]);
    return read;
}

} // namespace zorvant::watch
