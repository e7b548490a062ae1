#pragma once
#include "watch/tick_report.h"

#include <string>

namespace zorvant::cli {

// One console line (UTF-8, no line end) for a tick report: local time, message file, action and target,
// and for an error its text, separated by tabs. Line breaks inside the texts become spaces.
std::string reportLine(const watch::TickReport& report);

} // namespace zorvant::cli
