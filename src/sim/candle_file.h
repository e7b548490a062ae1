#pragma once
// Candle export files: lines <TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL> separated by
// "," or ";", an optional header line, dates YYYYMMDD, times HHMMSS; with ";" a decimal comma is allowed.
#include "sim/candle_store.h"

#include <string_view>

namespace zorvant::sim {

// Throws zorvant::Error "FILE: строка N: reason" at the first bad line. The ticker becomes the line's name.
ChartLine parseCandleFile(std::string_view bytes, std::string_view fileName);

} // namespace zorvant::sim
