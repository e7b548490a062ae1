#include "watch/delivery_retry.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;

TEST(DeliveryRetry, WaitDoublesFromOneTickUpToTenMinutes) {
    std::vector<std::chrono::seconds> waits;
    for (int failures = 1; failures <= 10; ++failures)
        waits.push_back(std::chrono::duration_cast<std::chrono::seconds>(deliveryWait(failures, 5s)));
    EXPECT_EQ(waits,
              (std::vector<std::chrono::seconds>{5s, 10s, 20s, 40s, 80s, 160s, 320s, 600s, 600s, 600s}));
    EXPECT_EQ(deliveryWait(1000, 1s), 10min);
    EXPECT_EQ(deliveryWait(1, 3600s), 10min); // a tick longer than the longest wait: every tick
}

TEST(DeliveryRetry, IsDueAtTheTickThatEndsTheWaitDespiteJitter) {
    const std::chrono::system_clock::time_point start{std::chrono::hours(1)};
    DeliveryRetry retry;
    retry.failed(start, 5s);
    EXPECT_FALSE(retry.isDue(start + 2s));
    EXPECT_TRUE(retry.isDue(start + 4900ms)); // a timer a little early still counts as the next tick
    retry.failed(start + 5s, 5s);
    EXPECT_FALSE(retry.isDue(start + 10s));
    EXPECT_TRUE(retry.isDue(start + 15s));
    EXPECT_EQ(retry.failures, 2);
    retry.failed(start + 15s, 5s, 120s); // the server asked for two minutes
    EXPECT_FALSE(retry.isDue(start + 60s));
    EXPECT_TRUE(retry.isDue(start + 135s));
}

} // namespace
} // namespace zorvant::watch
