#pragma once
// A channel that carries a message away from this computer (e-mail, Telegram, a web address). Every
// channel is one small class behind this interface; the one delivery worker calls it off the tick, and
// one set of rules acts on what it answers (delivery_rules.h). Texts are Windows-1251.
#include "watch/mail_settings.h"
#include "watch/telegram_settings.h"

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

namespace zorvant::watch {

// How far a delivery to several far ends (chats, and the parts of a long text) has got. It goes back
// and forth with the delivery that is tried again, so that nothing accepted is ever sent twice.
struct DeliveryProgress {
    std::set<std::string> sent;                 // the units the far side accepted
    std::map<std::string, std::string> refused; // far ends that refused for good, with the reason
};

// One message on its way: what the record says and the settings in force when it was handed over.
struct Parcel {
    std::string messageFile;
    std::string action;
    std::string target; // the record's Target: the addresses of an e-mail, the chats, the web address
    std::string text;   // the message text
    MailSettings mail;
    TelegramSettings telegram{};
    std::chrono::system_clock::time_point found{}; // when the tick took the message
    DeliveryProgress progress{};                   // of the earlier tries
};

// What became of a parcel.
struct DeliveryOutcome {
    enum class Kind {
        Delivered,
        // Delivered, but some recipients were refused; reason names them.
        DeliveredWithRefusals,
        // Nothing was delivered and trying again may help: a network failure, a timeout, a temporary
        // refusal, settings that need mending. The message is kept and tried again after a back-off.
        RetryLater,
        // Refused for good as it stands (the whole message, or the login): trying again cannot help. The
        // message is set aside under a kept name and the next one goes.
        SetAside,
    };
    DeliveryOutcome(Kind kind = Kind::Delivered, std::string reason = {},
                    std::optional<std::chrono::seconds> retryAfter = std::nullopt)
        : kind(kind), reason(std::move(reason)), retryAfter(retryAfter) {}

    Kind kind;
    std::string reason;
    // RetryLater: how long the far side asked to wait; none for the usual back-off.
    std::optional<std::chrono::seconds> retryAfter;
    // The parcel's progress with what this try added.
    DeliveryProgress progress;
};

class DeliveryChannel {
public:
    virtual ~DeliveryChannel() = default;
    // Never throws for a failed delivery: the outcome says what happened. A stop request cuts a
    // delivery in progress short within a second or so; the outcome is then RetryLater.
    virtual DeliveryOutcome deliver(const Parcel& parcel, std::stop_token stop) = 0;
};

} // namespace zorvant::watch
