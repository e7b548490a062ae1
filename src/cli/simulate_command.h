#pragma once
#include "cli/command.h"

namespace zorvant::cli {

// simulate SCRIPT.qpl --line CHART:N=FILE [--line ...]: runs a portfolio script over candle files and
// prints every line it writes with the simulated server date and time.
std::unique_ptr<Command> makeSimulateCommand();

} // namespace zorvant::cli
