#pragma once
// The one set of rules for what becomes of a message after a delivery, whatever the channel: delivered,
// its claimed file goes; refused for good, it is set aside under a kept name beside the message file
// and the record goes on with its next message; failed for now, it stays claimed and is tried again
// after a back-off. Each comes out as a report, a streak of failures once.
#include "platform/services.h"
#include "watch/delivery_worker.h"
#include "watch/tick_report.h"

#include <functional>
#include <optional>

namespace zorvant::watch {

// The kept names of set-aside messages: "<file>~unsent", then "<file>~unsent2" and on, never replacing.
std::string setAsideName(std::string_view messageFile, int number);

// Acts on the outcome and reports it. Returns the delivery when it is to be tried again, with its hold.
std::optional<Delivery> settleDelivery(Delivery&& delivery, const DeliveryOutcome& outcome,
                                       platform::Services& system, std::chrono::system_clock::time_point now,
                                       const std::function<void(TickReport)>& report);

} // namespace zorvant::watch
