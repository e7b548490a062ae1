#pragma once
// The interval and chart the once-per-candle write watches: the shortest interval among the parts of
// all conditions, with the chart of the first part that has it.
#include <string>
#include <string_view>

namespace zorvant::qpl {

class MessagePeriodSelection {
public:
    // The chart stays as given until a part is taken, so it carries over from an earlier generation.
    explicit MessagePeriodSelection(std::string previousChart) : chart_(std::move(previousChart)) {}

    // Parts are offered in list order, part 1 before part 2; an empty code is not considered, and a tie
    // keeps the earlier part.
    void offer(std::string_view periodCode, std::string_view chart);

    const std::string& period() const { return period_; }
    const std::string& chart() const { return chart_; }

private:
    std::string period_ = "0";
    std::string chart_;
};

// True for "DAY", "WEEK" and "MONTH", whose candles the write tells apart by date.
bool isDatePeriod(std::string_view periodCode);

} // namespace zorvant::qpl
