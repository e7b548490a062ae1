#pragma once
// Ticks of a watcher in tests: one tick and the deliveries it started, with everything they reported.
#include "watch/watcher.h"

#include <gtest/gtest.h>

namespace zorvant::testing {

inline std::vector<watch::TickReport> tickAndDeliver(watch::Watcher& watcher, const watch::TickInput& input) {
    auto reports = watcher.tick(input).value_or(std::vector<watch::TickReport>{});
    EXPECT_TRUE(watcher.waitForDeliveries(std::chrono::seconds(30)));
    for (auto& report : watcher.takeReports())
        reports.push_back(std::move(report));
    return reports;
}

} // namespace zorvant::testing
