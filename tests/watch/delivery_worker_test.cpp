#include "watch/delivery_worker.h"

#include <gtest/gtest.h>

#include <atomic>

namespace zorvant::watch {
namespace {

struct InstantChannel : DeliveryChannel {
    DeliveryOutcome deliver(const Parcel&, std::stop_token) override { return {}; }
};

// Closing the program stops the worker, whatever it is doing at that moment: idle, about to wait, or
// mid-queue. A stop that the thread misses leaves the program hanging, so many rounds try the races.
TEST(DeliveryWorkerTest, AStopAlwaysEndsTheThreadAndAnIdleWorkerHasFinishedEverything) {
    InstantChannel channel;
    for (int round = 0; round < 2000; ++round) {
        std::atomic<int> finished = 0;
        DeliveryWorker worker([&](Delivery&&, const DeliveryOutcome&) { ++finished; });
        const int handed = round % 3;
        for (int i = 0; i < handed; ++i)
            worker.hand(Delivery{}, channel);
        if (round % 2 == 1) {
            ASSERT_TRUE(worker.waitUntilIdle(std::chrono::seconds(10)));
            EXPECT_EQ(finished, handed);
        }
        worker.stop();
        EXPECT_LE(finished, handed);
    }
}

} // namespace
} // namespace zorvant::watch
