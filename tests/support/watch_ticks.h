#pragma once
// Ticks of a watcher in tests: one tick and the deliveries it started, with everything they reported.
#include "text/cp1251.h"
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

// The same, each report as "action: text" or "error: text" in UTF-8.
inline std::vector<std::string> tickAndSay(watch::Watcher& watcher, const watch::TickInput& input) {
    std::vector<std::string> said;
    for (const auto& report : tickAndDeliver(watcher, input))
        said.push_back((report.kind == watch::TickReport::Kind::Error ? "error: " : "action: ") +
                       text::toUtf8(report.text));
    return said;
}

} // namespace zorvant::testing
