#pragma once
// Generated portfolios run over synthetic candles: which candles make the portfolio write its line.
#include "conditions/condition_list.h"
#include "sim/candle_store.h"
#include "sim/script.h"

#include <array>
#include <string>
#include <vector>

namespace zorvant::sim::testing {

// OPEN, HIGH, LOW, CLOSE.
using Ohlc = std::array<double, 4>;

// A 5-minute line of the given candles from 02.03.2009 11:00.
ChartLine fiveMinuteLine(std::string name, const std::vector<Ohlc>& candles);
ChartLine fiveMinuteCloses(std::string name, const std::vector<double>& closes);

// The script that the generator writes for the list (expanded mode unless compressed).
Script generatedScript(const conditions::ConditionList& list, bool compressed = false);

struct Firing {
    std::vector<int> candles;       // indices of the clock chart's candles on which a line was written
    std::vector<std::string> lines; // the lines, UTF-8
};

// Recalculates at the last second of every candle of clockLine from index from on.
Firing firing(const Script& script, const CandleStore& store, const ChartLine& clockLine, int from);

} // namespace zorvant::sim::testing
