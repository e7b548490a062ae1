#include "sim/day_index.h"

#include "sim/candle_store.h"

#include <algorithm>

namespace zorvant::sim {
namespace {

int lastInRange(std::vector<Candle>::const_iterator begin, std::vector<Candle>::const_iterator end,
                const std::vector<Candle>& candles, long long key) {
    const auto it =
        std::upper_bound(begin, end, key, [](long long k, const Candle& c) { return k < c.start.key(); });
    return static_cast<int>(it - candles.begin()) - 1;
}

// Candle files hold only real dates; a line made otherwise with dates outside them is searched whole.
bool indexable(const std::vector<Candle>& candles) {
    return !candles.empty() && isValidDate(candles.front().start.date) &&
           isValidDate(candles.back().start.date);
}

} // namespace

DayIndex::DayIndex(const std::vector<Candle>& candles) {
    if (!indexable(candles))
        return;
    firstDay_ = dayNumber(candles.front().start.date);
    const long long days = dayNumber(candles.back().start.date) - firstDay_ + 1;
    if (days < 1)
        return;
    firstCandle_.resize(static_cast<std::size_t>(days) + 1);
    std::size_t next = 0;
    for (long long d = 0; d <= days; ++d) {
        while (next < candles.size() && dayNumber(candles[next].start.date) - firstDay_ < d)
            ++next;
        firstCandle_[static_cast<std::size_t>(d)] = static_cast<int>(next);
    }
}

int DayIndex::lastAtOrBefore(const std::vector<Candle>& candles, const Moment& moment) const {
    if (firstCandle_.empty())
        return lastInRange(candles.begin(), candles.end(), candles, moment.key());
    const long long day = dayNumber(moment.date) - firstDay_;
    if (day < 0)
        return -1;
    const auto lastDay = static_cast<long long>(firstCandle_.size()) - 2;
    if (day > lastDay)
        return static_cast<int>(candles.size()) - 1;
    // Every candle before the day's first starts earlier, every one after its last later.
    const auto begin = candles.begin() + firstCandle_[static_cast<std::size_t>(day)];
    const auto end = candles.begin() + firstCandle_[static_cast<std::size_t>(day) + 1];
    return lastInRange(begin, end, candles, moment.key());
}

} // namespace zorvant::sim
