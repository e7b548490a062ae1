#include "watch/delivery_worker.h"

#include <exception>

namespace zorvant::watch {

void DeliveryWorker::hand(Delivery delivery, DeliveryChannel& channel) {
    const std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    queue_.push_back({std::move(delivery), &channel});
    if (!thread_.joinable())
        thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
    changed_.notify_all();
}

bool DeliveryWorker::waitUntilIdle(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, time, [this] { return stopped_ || (queue_.empty() && !busy_); });
}

void DeliveryWorker::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

void DeliveryWorker::run(std::stop_token stop) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            busy_ = false;
            changed_.notify_all();
            changed_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
            if (stopped_)
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }
        DeliveryOutcome outcome;
        try {
            outcome = job.channel->deliver(job.delivery.parcel, stop);
        } catch (const std::exception& error) {
            outcome = {DeliveryOutcome::Kind::RetryLater, error.what()};
            outcome.progress = job.delivery.parcel.progress;
        }
        // A message that went out is finished even now, or it would go out twice.
        if (stop.stop_requested() && outcome.kind == DeliveryOutcome::Kind::RetryLater)
            return;
        finish_(std::move(job.delivery), outcome);
    }
}

} // namespace zorvant::watch
