#pragma once
#include <chrono>

namespace zorvant::cli {

// Catches SIGINT and SIGTERM while this object lives, so that a wait ends cleanly when one comes; the
// previous handlers return at the end.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Waits for the time; true when a stop signal came first.
    bool waitFor(std::chrono::milliseconds time);
    bool requested() const;

private:
    void (*previousInterrupt_)(int);
    void (*previousTerminate_)(int);
};

} // namespace zorvant::cli
