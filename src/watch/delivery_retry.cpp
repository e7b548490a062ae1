#include "watch/delivery_retry.h"

#include <algorithm>

namespace zorvant::watch {

std::chrono::milliseconds deliveryWait(int failures, std::chrono::milliseconds tick) {
    std::chrono::milliseconds wait = std::min(tick, kLongestDeliveryWait);
    for (int i = 1; i < failures && wait < kLongestDeliveryWait; ++i)
        wait *= 2;
    return std::min(wait, kLongestDeliveryWait);
}

void DeliveryRetry::failed(std::chrono::system_clock::time_point at, std::chrono::milliseconds tick,
                           std::optional<std::chrono::seconds> askedWait) {
    ++failures;
    due = at + deliveryWait(failures, tick) - tick / 2;
    if (askedWait)
        due = std::max(due, at + *askedWait);
}

} // namespace zorvant::watch
