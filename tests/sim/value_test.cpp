// Maps and texts reuse the blocks of dropped ones: what is still held never changes under the churn,
// whichever thread made it and whichever drops it.
#include "sim/value.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace zorvant::sim {
namespace {

// A map of one entry whose key and value both tell n, and a text as long as n says.
Value madeMap(int n) {
    auto map = makeMap();
    map->add(Value(std::to_string(n)), Value(std::string(static_cast<std::size_t>(n % 70), 'a' + n % 26)));
    return Value(map);
}

bool holds(const Value& map, int n) {
    const Value* text = map.map()->find(std::to_string(n));
    return text != nullptr && text->text() == std::string(static_cast<std::size_t>(n % 70), 'a' + n % 26);
}

TEST(ValueBlocks, WhatIsHeldStaysAsMadeWhileOthersComeAndGo) {
    std::vector<Value> held;
    for (int round = 0; round < 20; ++round) {
        std::vector<Value> dropped;
        for (int n = 0; n < 400; ++n)
            (n % 5 == 0 ? held : dropped).push_back(madeMap(round * 1000 + n));
    }
    // Made on one thread and dropped on another that ends after the first.
    std::vector<Value> moved;
    std::thread([&] {
        for (int n = 0; n < 300; ++n)
            moved.push_back(madeMap(50000 + n));
    }).join();
    std::thread([&] { moved.clear(); }).join();
    for (int n = 0; n < 300; ++n)
        moved.push_back(madeMap(60000 + n));

    for (std::size_t i = 0; i < held.size(); ++i)
        ASSERT_TRUE(holds(held[i], static_cast<int>(i / 80 * 1000 + i % 80 * 5))) << i;
    for (int n = 0; n < 300; ++n)
        ASSERT_TRUE(holds(moved[static_cast<std::size_t>(n)], 60000 + n)) << n;
}

} // namespace
} // namespace zorvant::sim
