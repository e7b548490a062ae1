#include "watch/mail_retry.h"

#include <algorithm>

namespace zorvant::watch {

std::chrono::milliseconds mailWait(int failures, std::chrono::milliseconds tick) {
    std::chrono::milliseconds wait = std::min(tick, kLongestMailWait);
    for (int i = 1; i < failures && wait < kLongestMailWait; ++i)
        wait *= 2;
    return std::min(wait, kLongestMailWait);
}

void MailRetry::failed(std::chrono::system_clock::time_point at, std::chrono::milliseconds tick) {
    ++failures;
    due = at + mailWait(failures, tick) - tick / 2;
}

} // namespace zorvant::watch
