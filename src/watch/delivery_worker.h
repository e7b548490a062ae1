#pragma once
// The one thread that delivers messages, off the tick. Deliveries go one after another, in the order
// they were handed over; the finish function learns on this thread what became of each.
#include "platform/claim.h"
#include "watch/delivery_channel.h"
#include "watch/delivery_retry.h"
#include "watch/watch_record.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zorvant::watch {

// A claimed message on its way, with the hold that keeps other watchers off it.
struct Delivery {
    std::string claimed;
    WatchRecord record;
    Parcel parcel;
    platform::FileHold hold;
    DeliveryRetry retry;
    std::chrono::milliseconds interval{5000};
};

class DeliveryWorker {
public:
    using Finish = std::function<void(Delivery&&, const DeliveryOutcome&)>;

    explicit DeliveryWorker(Finish finish) : finish_(std::move(finish)) {}
    ~DeliveryWorker() { stop(); }
    DeliveryWorker(const DeliveryWorker&) = delete;
    DeliveryWorker& operator=(const DeliveryWorker&) = delete;

    void hand(Delivery delivery, DeliveryChannel& channel);
    // True once every delivery handed over has finished; waits at most the time given.
    bool waitUntilIdle(std::chrono::milliseconds time);
    // Cuts the delivery in progress short and ends the thread. A delivery that did not get through is
    // dropped unfinished: its message stays claimed for the next start.
    void stop();

private:
    struct Job {
        Delivery delivery;
        DeliveryChannel* channel = nullptr;
    };
    void run(std::stop_token stop);

    std::mutex mutex_;
    // A plain condition variable woken by stopped_: the stop-token wait of condition_variable_any
    // misses the stop now and then with MinGW's threads, and the program then never ends.
    std::condition_variable changed_;
    std::deque<Job> queue_;
    bool busy_ = false;
    bool stopped_ = false;
    Finish finish_;
    std::jthread thread_; // last: it goes first, while everything it uses is still there
};

} // namespace zorvant::watch
