#pragma once
// A web address (webhook): the message goes as an HTTP(S) POST of the JSON body
// {"text": ..., "file": <message file>, "time": <local time, ISO 8601>}, in UTF-8. A 2xx reply accepts
// it; no reply, 408, 429 and 5xx are tried again (after Retry-After when given); any other refusal is
// for good.
#include "watch/delivery_channel.h"
#include "watch/http_post.h"

namespace zorvant::watch {

class WebhookChannel final : public DeliveryChannel {
public:
    explicit WebhookChannel(HttpOptions options = {});
    DeliveryOutcome deliver(const Parcel& parcel, std::stop_token stop) override;

private:
    HttpOptions options_;
};

// The body of the POST for a parcel.
std::string webhookBody(const Parcel& parcel);

} // namespace zorvant::watch
