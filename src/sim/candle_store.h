#pragma once
// Charts by identifier, each with one interval and numbered lines of candles, as a terminal's charts
// hold them; read from candle export files.
#include "sim/calendar.h"
#include "sim/day_index.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::sim {

struct Candle {
    Moment start;
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    double volume = 0;
};

struct ChartLine {
    std::string name;
    Period period;
    // In time order, no two with the same start.
    std::vector<Candle> candles;
};

struct Chart {
    std::string id;
    Period period;
    // Line N of the chart is lines[N].
    std::vector<ChartLine> lines;
};

class CandleStore {
public:
    // Adds line number lineNumber of chart chartId. Throws zorvant::Error when the line is there already
    // or its interval differs from the chart's.
    void addLine(std::string_view chartId, int lineNumber, ChartLine line);
    // Reads a candle file (see candle_file.h) into line lineNumber of chartId.
    void loadFile(std::string_view chartId, int lineNumber, std::string_view fileName);
    // Throws zorvant::Error when a chart's line numbers do not run from 0 without a gap.
    void checkComplete() const;

    // Chart identifiers are compared without regard to Latin case; nullptr when there is none.
    const Chart* find(std::string_view id) const;
    const std::vector<Chart>& charts() const { return charts_; }

    // The index of the candle of line lineNumber of a chart of this store that a request for moment
    // falls into, after rounding the time down to the line's interval; -1 when there is none. A guess,
    // such as line 0's index for another line of the same chart or the last candle found, is tried with
    // its neighbours before any search.
    int candleAt(const Chart& chart, std::size_t lineNumber, const Moment& moment, int guess = -1) const;

private:
    std::vector<Chart> charts_;
    std::vector<std::vector<bool>> present_;
    // days_[c][n]: where the days of line n of chart c begin.
    std::vector<std::vector<DayIndex>> days_;
};

} // namespace zorvant::sim
