#include "qpl/period_code.h"

#include "conditions/labels.h"

#include <array>

namespace zorvant::qpl {

namespace {
// In the order of the interval labels, which runs from the shortest interval to the longest.
constexpr std::array<std::string_view, 16> kCodes = {
    "1", "2", "3", "4", "5", "6", "10", "15", "20", "30", "60", "120", "240", "DAY", "WEEK", "MONTH",
};
static_assert(kCodes.size() == conditions::labels::kIntervals.size());
} // namespace

std::string PeriodCodeOf(std::string_view label) {
    const auto& labels = conditions::labels::kIntervals;
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i] == label)
            return std::string(kCodes[i]);
    return {};
}

int periodRank(std::string_view periodCode) {
    for (std::size_t i = 0; i < kCodes.size(); ++i)
        if (kCodes[i] == periodCode)
            return static_cast<int>(i);
    return -1;
}

} // namespace zorvant::qpl
