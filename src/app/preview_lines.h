#pragma once
// The chart lines a portfolio reads and the candle file chosen for each: what "Проверить на истории"
// asks for, what zorvant-cli simulate takes as --line CHART:N=FILE, and what the settings file keeps.
// Texts are Windows-1251.
#include "conditions/condition_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::app {

struct LineFile {
    std::string chart;
    int line = 0;
    std::string file;
};

// The chart lines the conditions read, charts in the order they are first named, each with its lines
// from 0 up to the highest named: line 0 decides which candle it is and lines are numbered without
// gaps. Value levels and parts without a chart name no line. Files are empty.
std::vector<LineFile> chartLinesOf(const conditions::ConditionList& list);
// The first chart the conditions name; empty when there is none.
std::string firstChartOf(const conditions::ConditionList& list);

// "CHART:N=FILE" (N of at most three digits); nothing when the text has another shape.
std::optional<LineFile> parseLineFile(std::string_view text);
std::string formatLineFile(const LineFile& choice);

// The same chart (Latin letters compared without regard to case) and line.
bool sameChartLine(const LineFile& a, const LineFile& b);
// Keeps the choice, replacing an earlier one for the same chart line.
void rememberLineFile(std::vector<LineFile>& memory, const LineFile& choice);

} // namespace zorvant::app
