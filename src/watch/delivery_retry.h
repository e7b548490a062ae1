#pragma once
// When a message whose e-mail could not be sent is tried again: after one tick, then after twice as long
// after each further failure, up to ten minutes.
#include <chrono>

namespace zorvant::watch {

inline constexpr std::chrono::milliseconds kLongestMailWait = std::chrono::minutes(10);

struct MailRetry {
    int failures = 0;
    std::chrono::system_clock::time_point due;
    bool reported = false;

    // Counts a failure at the given time. The half tick of slack keeps timer jitter from costing a tick.
    void failed(std::chrono::system_clock::time_point at, std::chrono::milliseconds tick);
    bool isDue(std::chrono::system_clock::time_point now) const { return now >= due; }
};

// The wait after the given number of failures in a row.
std::chrono::milliseconds mailWait(int failures, std::chrono::milliseconds tick);

} // namespace zorvant::watch
