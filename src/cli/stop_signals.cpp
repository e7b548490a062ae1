#include "cli/stop_signals.h"

#include <algorithm>
#include <csignal>
#include <thread>

namespace zorvant::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStop(int) {
    stopRequested = 1;
}

// How late a stop may be noticed; short enough for a person, long enough not to cost anything.
constexpr std::chrono::milliseconds kLook(50);

} // namespace

StopSignals::StopSignals() {
    stopRequested = 0;
    previousInterrupt_ = std::signal(SIGINT, onStop);
    previousTerminate_ = std::signal(SIGTERM, onStop);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, previousInterrupt_);
    std::signal(SIGTERM, previousTerminate_);
}

bool StopSignals::requested() const {
    return stopRequested != 0;
}

bool StopSignals::waitFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (stopRequested == 0) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kLook));
    }
    return true;
}

} // namespace zorvant::cli
