#include "sim/terminal.h"

#include <algorithm>
#include <cstdint>

namespace zorvant::sim {
namespace {

// Keys made once: a key made from its text anew costs as much as the rest of setting it.
const Value kName{std::string_view("NAME")};
const Value kOpen{std::string_view("OPEN")};
const Value kHigh{std::string_view("HIGH")};
const Value kLow{std::string_view("LOW")};
const Value kClose{std::string_view("CLOSE")};
const Value kVolume{std::string_view("VOLUME")};
const Value kCount{std::string_view("COUNT")};
const Value kTime{std::string_view("TIME")};
const Value kLines{std::string_view("LINES")};

MapPtr lineMap(const ChartLine& line, const Candle& c) {
    auto map = makeMap();
    map->add(kName, Value(line.name));
    map->add(kOpen, Value(c.open));
    map->add(kHigh, Value(c.high));
    map->add(kLow, Value(c.low));
    map->add(kClose, Value(c.close));
    map->add(kVolume, Value(c.volume));
    return map;
}

MapPtr sliceMap(double count, Value time, CollectionPtr lines) {
    auto map = makeMap();
    map->add(kCount, Value(count));
    map->add(kTime, std::move(time));
    map->add(kLines, Value(std::move(lines)));
    return map;
}

} // namespace

const Chart* Terminal::chart(std::string_view chartId) {
    if (lastChart_ == nullptr || chartId != lastChartId_) {
        lastChart_ = candles_.find(chartId);
        lastChartId_ = chartId;
    }
    return lastChart_;
}

int Terminal::candleIndex(const Chart& chart, const Moment& moment) {
    const auto hash = static_cast<std::size_t>(moment.date) * 1000003u +
                      static_cast<std::size_t>(moment.time) +
                      reinterpret_cast<std::uintptr_t>(&chart) / sizeof(Chart);
    Located& entry = located_[hash % located_.size()];
    if (entry.chart != &chart || !(entry.moment == moment)) {
        // Moments asked for anew mostly lie next to the last one found.
        const int near = lastLocated_.chart == &chart ? lastLocated_.index : -1;
        entry = {&chart, moment, candles_.candleAt(chart, 0, moment, near)};
        if (entry.index >= 0)
            lastLocated_ = entry;
    }
    return entry.index;
}

MapPtr Terminal::findSlice(std::string_view chartId, const Moment& moment) {
    const Chart* chart = this->chart(chartId);
    if (chart == nullptr || chart->lines.empty())
        return emptySlice_ ? emptySlice_
                           : (emptySlice_ = sliceMap(0, Value(std::string()), makeCollection()));
    const int index = candleIndex(*chart, moment);
    const long long key = index < 0 ? -1 : chart->lines[0].candles[index].start.key();
    const bool seen = key >= 0 && key <= now_.key();
    // By the candle's place: the last few candles of a chart never share a slot.
    CachedSlice& cached = cache_[(static_cast<std::size_t>(index) +
                                  7 * static_cast<std::size_t>(chart - candles_.charts().data())) %
                                 cache_.size()];
    if (seen && cached.key == key && cached.chart == chart)
        return cached.map;
    MapPtr map = buildSlice(*chart, moment, index);
    if (seen)
        cached = {chart, key, map};
    return map;
}

// Line 0 decides the candle's start; every line with a candle at that start is listed, in line order.
MapPtr Terminal::buildSlice(const Chart& chart, const Moment& moment, int lineZero) {
    auto lines = makeCollection();
    Value time{std::string()};
    for (std::size_t n = 0; n < chart.lines.size(); ++n) {
        const ChartLine& line = chart.lines[n];
        const int i = n == 0 ? lineZero : candles_.candleAt(chart, n, moment, lineZero);
        if (i < 0 || line.candles[i].start.key() > now_.key())
            continue;
        if (lines->items.empty())
            time = Value(static_cast<double>(line.candles[i].start.time));
        lines->items.emplace_back(lineMap(line, line.candles[i]));
    }
    const auto count = static_cast<double>(lines->items.size());
    return sliceMap(count, std::move(time), std::move(lines));
}

void Terminal::write(std::string_view file, std::string_view text, bool endLine) {
    auto it = std::find_if(pending_.begin(), pending_.end(), [&](const auto& p) { return p.first == file; });
    if (it == pending_.end()) {
        pending_.emplace_back(std::string(file), std::string());
        it = pending_.end() - 1;
    }
    it->second.append(text);
    if (endLine) {
        written_.push_back({now_, std::string(file), std::move(it->second)});
        it->second.clear();
    }
}

void Terminal::clearFile(std::string_view file) {
    std::erase_if(pending_, [&](const auto& p) { return p.first == file; });
}

} // namespace zorvant::sim
