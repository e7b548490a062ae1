#include "watch/webhook_channel.h"

#include "platform/local_time.h"
#include "text/cp1251.h"

#include <nlohmann/json.hpp>

namespace zorvant::watch {
using namespace text::literals;

namespace {
using Kind = DeliveryOutcome::Kind;

bool isWebAddress(std::string_view target) {
    return target.starts_with("https://") || target.starts_with("http://");
}

bool worthTryingAgain(long status) {
    return status == 0 || status == 408 || status == 429 || status >= 500 || status < 200;
}

// The start of the reply's body, as far as it is one line of text, for the report.
std::string replyExcerpt(const std::string& body) {
    const std::string line = body.substr(0, std::min(body.find_first_of("\r\n"), std::size_t(200)));
    return line.empty() ? std::string() : " " + text::fromUtf8(line);
}

} // namespace

std::string webhookBody(const Parcel& parcel) {
    const nlohmann::json body = {{"text", text::toUtf8(parcel.text)},
                                 {"file", text::toUtf8(parcel.messageFile)},
                                 {"time", platform::iso8601LocalTime(parcel.found)}};
    return body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

WebhookChannel::WebhookChannel(HttpOptions options) : options_(std::move(options)) {}

DeliveryOutcome WebhookChannel::deliver(const Parcel& parcel, std::stop_token stop) {
    const std::string& address = parcel.target;
    if (!isWebAddress(address))
        return {Kind::RetryLater,
                std::string("Веб-адрес должен начинаться с https:// или http://: "_cp) + address +
                    std::string(". Сообщение будет отправлено, когда адрес будет исправлен."_cp)};
    const HttpReply reply = postJson(address, webhookBody(parcel), options_, std::move(stop));
    if (reply.status >= 200 && reply.status < 300)
        return {Kind::Delivered};
    const std::string answer = reply.status == 0
                                   ? text::fromUtf8(reply.failure)
                                   : "HTTP " + std::to_string(reply.status) + replyExcerpt(reply.body);
    if (worthTryingAgain(reply.status))
        return {Kind::RetryLater,
                std::string("Не удалось отправить сообщение на веб-адрес "_cp) + address + ": " + answer +
                    std::string(". Сообщение будет отправлено позже."_cp),
                reply.retryAfter};
    return {Kind::SetAside, std::string("Веб-адрес "_cp) + address +
                                std::string(" отказался принять сообщение: "_cp) + answer + "."};
}

} // namespace zorvant::watch
