#include "watch/delivery_rules.h"

#include "text/cp1251.h"

namespace zorvant::watch {
using namespace text::literals;

namespace {

constexpr int kMostSetAside = 1000;

// Renames the claimed file to the first free kept name; empty when none could be had.
std::string setAside(platform::Services& system, const std::string& claimed, const std::string& messageFile) {
    for (int number = 1; number <= kMostSetAside; ++number) {
        const std::string kept = setAsideName(messageFile, number);
        if (system.renameFile(claimed, kept))
            return kept;
        if (!system.plainFileExists(kept))
            return {};
    }
    return {};
}

} // namespace

std::string setAsideName(std::string_view messageFile, int number) {
    return std::string(messageFile) + "~unsent" + (number > 1 ? std::to_string(number) : std::string());
}

std::optional<Delivery> settleDelivery(Delivery&& delivery, const DeliveryOutcome& outcome,
                                       platform::Services& system, std::chrono::system_clock::time_point now,
                                       const std::function<void(TickReport)>& report) {
    const WatchRecord& record = delivery.record;
    const auto reportError = [&](std::string text) {
        report({TickReport::Kind::Error, now, record.MessageFile, record.Action, record.Target,
                std::move(text), delivery.parcel.text});
    };
    using Kind = DeliveryOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Delivered:
    case Kind::DeliveredWithRefusals:
        system.deleteFile(delivery.claimed);
        report({TickReport::Kind::Action, now, record.MessageFile, record.Action, record.Target,
                delivery.parcel.text});
        if (outcome.kind == Kind::DeliveredWithRefusals)
            reportError(outcome.reason);
        return std::nullopt;
    case Kind::SetAside:
        if (const std::string kept = setAside(system, delivery.claimed, record.MessageFile); !kept.empty()) {
            reportError(outcome.reason + std::string(" Сообщение отложено в файл "_cp) + kept +
                        std::string(" и больше не отправляется."_cp));
            return std::nullopt;
        }
        break;
    case Kind::RetryLater:
        break;
    }
    delivery.parcel.progress = outcome.progress;
    if (!delivery.retry.reported)
        reportError(outcome.reason);
    delivery.retry.reported = true;
    delivery.retry.failed(now, delivery.interval, outcome.retryAfter);
    return std::move(delivery);
}

} // namespace zorvant::watch
