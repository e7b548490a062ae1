#pragma once
// When a message whose delivery failed for now is tried again: after one tick, then after twice as long
// after each further failure, up to ten minutes; never before the far side asked.
#include <chrono>
#include <optional>

namespace zorvant::watch {

inline constexpr std::chrono::milliseconds kLongestDeliveryWait = std::chrono::minutes(10);

struct DeliveryRetry {
    int failures = 0;
    std::chrono::system_clock::time_point due;
    // The failure of this streak has been reported: a streak is reported once.
    bool reported = false;

    // Counts a failure at the given time. The half tick of slack keeps timer jitter from costing a tick.
    void failed(std::chrono::system_clock::time_point at, std::chrono::milliseconds tick,
                std::optional<std::chrono::seconds> askedWait = std::nullopt);
    bool isDue(std::chrono::system_clock::time_point now) const { return now >= due; }
};

// The wait after the given number of failures in a row.
std::chrono::milliseconds deliveryWait(int failures, std::chrono::milliseconds tick);

} // namespace zorvant::watch
