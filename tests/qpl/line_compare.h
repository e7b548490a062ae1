#pragma once
// Line-by-line comparison that names the first differing line with its bytes made visible.
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::testing {

inline std::vector<std::string> lineList(std::initializer_list<std::string_view> lines) {
    return {lines.begin(), lines.end()};
}

inline std::vector<std::string> slice(const std::vector<std::string>& lines, std::size_t from,
                                      std::size_t count) {
    from = std::min(from, lines.size());
    return {lines.begin() + static_cast<long>(from),
            lines.begin() + static_cast<long>(std::min(lines.size(), from + count))};
}

inline ::testing::AssertionResult sameLines(const std::vector<std::string>& actual,
                                            const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i)
        if (actual[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "line " << i + 1 << " differs:\n  actual:   " << visible(actual[i])
                   << "\n  expected: " << visible(expected[i]);
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << actual.size() << " lines instead of " << expected.size()
               << "; first extra or missing line: "
               << visible(actual.size() > expected.size() ? actual[expected.size()]
                                                          : expected[actual.size()]);
    return ::testing::AssertionSuccess();
}

} // namespace zorvant::testing
