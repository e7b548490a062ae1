#include "sim/candle_store.h"

#include "platform/platform.h"
#include "sim/candle_file.h"
#include "sim/conversions.h"
#include "sim/join.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>

namespace zorvant::sim {
namespace {

using namespace text::literals;

long long roundedKey(const Period& period, const Moment& moment) {
    const int minutes = moment.time / 10000 * 60 + moment.time / 100 % 100;
    const int rounded = minutes / period.minutes * period.minutes;
    return static_cast<long long>(moment.date) * 1000000 + rounded / 60 * 10000 + rounded % 60 * 100;
}

} // namespace

int CandleStore::candleAt(const Chart& chart, std::size_t lineNumber, const Moment& moment, int guess) const {
    if (!isValidDate(moment.date) || !isValidTime(moment.time))
        return -1;
    const ChartLine& line = chart.lines[lineNumber];
    const DayIndex& days = days_[static_cast<std::size_t>(&chart - charts_.data())][lineNumber];
    const auto& candles = line.candles;
    switch (line.period.kind) {
    case Period::Kind::Minutes: {
        const long long key = roundedKey(line.period, moment);
        // Starts are unique: a candle that starts at the key is the one.
        if (guess >= 0)
            for (const int i : {guess, guess + 1, guess - 1})
                if (i >= 0 && static_cast<std::size_t>(i) < candles.size() && candles[i].start.key() == key)
                    return i;
        const int i = days.lastAtOrBefore(candles, {moment.date, static_cast<int>(key % 1000000)});
        return i >= 0 && candles[i].start.key() == key ? i : -1;
    }
    case Period::Kind::Day: {
        const int i = days.lastAtOrBefore(candles, {moment.date, 235959});
        return i >= 0 && candles[i].start.date == moment.date ? i : -1;
    }
    case Period::Kind::Week: {
        const int i = days.lastAtOrBefore(candles, {moment.date, 235959});
        return i >= 0 && dayNumber(candles[i].start.date) + 7 > dayNumber(moment.date) ? i : -1;
    }
    case Period::Kind::Month: {
        const int i = days.lastAtOrBefore(candles, {moment.date, 235959});
        return i >= 0 && candles[i].start.date / 100 == moment.date / 100 ? i : -1;
    }
    }
    return -1;
}

void CandleStore::addLine(std::string_view chartId, int lineNumber, ChartLine line) {
    if (lineNumber < 0 || lineNumber > 999)
        throw Error(cat("неверный номер линии графика "_cp, chartId));
    auto it = std::find_if(charts_.begin(), charts_.end(),
                           [&](const Chart& c) { return upperCaseLatin(c.id) == upperCaseLatin(chartId); });
    if (it == charts_.end()) {
        charts_.push_back({std::string(chartId), line.period, {}});
        present_.emplace_back();
        days_.emplace_back();
        it = charts_.end() - 1;
    }
    auto& present = present_[it - charts_.begin()];
    if (!(it->period == line.period))
        throw Error(cat("у линий графика "_cp, chartId, " разные интервалы"_cp));
    if (static_cast<std::size_t>(lineNumber) < present.size() && present[lineNumber])
        throw Error(
            cat("линия "_cp, std::to_string(lineNumber), " графика "_cp, chartId, " задана дважды"_cp));
    auto& days = days_[it - charts_.begin()];
    if (present.size() <= static_cast<std::size_t>(lineNumber)) {
        present.resize(lineNumber + 1, false);
        it->lines.resize(lineNumber + 1);
        days.resize(lineNumber + 1);
    }
    present[lineNumber] = true;
    days[lineNumber] = DayIndex(line.candles);
    it->lines[lineNumber] = std::move(line);
}

void CandleStore::loadFile(std::string_view chartId, int lineNumber, std::string_view fileName) {
    addLine(chartId, lineNumber, parseCandleFile(platform::readFile(fileName), fileName));
}

void CandleStore::checkComplete() const {
    for (std::size_t c = 0; c < charts_.size(); ++c)
        for (std::size_t n = 0; n < present_[c].size(); ++n)
            if (!present_[c][n])
                throw Error(cat("у графика "_cp, charts_[c].id, " нет линии "_cp, std::to_string(n),
                                ": линии нумеруются с 0 подряд"_cp));
}

const Chart* CandleStore::find(std::string_view id) const {
    const auto same = [](char a, char b) {
        return a == b || (a >= 'a' && a <= 'z' && a - 0x20 == b) || (b >= 'a' && b <= 'z' && b - 0x20 == a);
    };
    for (const Chart& chart : charts_)
        if (std::equal(chart.id.begin(), chart.id.end(), id.begin(), id.end(), same))
            return &chart;
    return nullptr;
}

} // namespace zorvant::sim
