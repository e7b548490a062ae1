#pragma once
// Where each day's candles of a line begin, so that a candle is found by its start among that day's
// candles alone rather than by a search of the whole history.
#include "sim/calendar.h"

#include <vector>

namespace zorvant::sim {

struct Candle;

class DayIndex {
public:
    DayIndex() = default;
    // candles in time order, as a chart line holds them.
    explicit DayIndex(const std::vector<Candle>& candles);

    // The last of the candles that starts at or before the moment; -1 when none does.
    int lastAtOrBefore(const std::vector<Candle>& candles, const Moment& moment) const;

private:
    long long firstDay_ = 0;
    // firstCandle_[d]: the first candle of day firstDay_ + d or later; one more entry for the end.
    std::vector<int> firstCandle_;
};

} // namespace zorvant::sim
