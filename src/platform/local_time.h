#pragma once
// Moments as the user's clock shows them, in the local time zone.
#include <chrono>
#include <string>

namespace zorvant::platform {

// strftime with the local time of the moment, such as "%Y-%m-%d %H:%M:%S".
std::string formatLocalTime(std::chrono::system_clock::time_point time, const char* format);

// ISO 8601 with the local offset from UTC, such as "2024-03-13T18:19:59+03:00". Computed here rather
// than by strftime's %z, which Windows fills with the zone's name.
std::string iso8601LocalTime(std::chrono::system_clock::time_point time);

} // namespace zorvant::platform
