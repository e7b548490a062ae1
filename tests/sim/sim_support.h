#pragma once
// Helpers for simulator tests: scripts written in UTF-8 in the test, small candle charts, one-shot runs.
#include "sim/candle_store.h"
#include "sim/script.h"
#include "sim/simulation.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::sim::testing {

// A whole portfolio script (Windows-1251, CR LF) around the given UTF-8 body lines.
std::string portfolio(std::string_view utf8Body, std::string_view utf8HeaderExtra = "");
Script parseBody(std::string_view utf8Body, std::string_view utf8HeaderExtra = "");

Candle candle(int date, int time, double open, double high, double low, double close);
// A line of 1-minute (or period) candles starting at date/time, one per close value, open = previous close.
ChartLine series(std::string name, Period period, int date, int time, const std::vector<double>& closes);

struct Outcome {
    std::vector<std::string> lines; // UTF-8
    Warnings warnings;
};

// One recalculation of the body at the moment, over the store.
Outcome runOnce(std::string_view utf8Body, const CandleStore& store = {}, Moment now = {20090301, 120000});
// Every recalculation of the clock; each written line as "HH:MM:SS text" in UTF-8.
std::vector<std::string> runAll(const Script& script, const CandleStore& store);

} // namespace zorvant::sim::testing
