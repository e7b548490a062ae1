#pragma once
#include "cli/command.h"

namespace zorvant::cli {

// simulate SCRIPT.qpl|PORTFOLIO.xml|CONDITIONS.con --line CHART:N=FILE [--line ...] [--explain]: runs a
// portfolio script (or the one generated from a description) over candle files and prints every line it
// writes with the simulated server date and time; with --explain, each line is followed by one line per
// Condition: whether it held and the values it read.
std::unique_ptr<Command> makeSimulateCommand();

} // namespace zorvant::cli
