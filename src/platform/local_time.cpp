#include "platform/local_time.h"

#include <ctime>

namespace zorvant::platform {
namespace {

std::tm localFields(std::time_t seconds) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

std::string twoDigits(long long value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

} // namespace

std::string formatLocalTime(std::chrono::system_clock::time_point time, const char* format) {
    const std::tm local = localFields(std::chrono::system_clock::to_time_t(time));
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &local);
    return {buffer, length};
}

std::string iso8601LocalTime(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(time);
    const std::tm local = localFields(seconds);
    // The local fields read as if they were UTC, less the moment itself, is the zone's offset.
    const sys_days day = year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                         std::chrono::day{static_cast<unsigned>(local.tm_mday)};
    const sys_seconds asIfUtc =
        day + hours{local.tm_hour} + minutes{local.tm_min} + std::chrono::seconds{local.tm_sec};
    const auto offset = duration_cast<minutes>(asIfUtc - sys_seconds{std::chrono::seconds{seconds}}).count();
    const auto magnitude = offset < 0 ? -offset : offset;
    const std::string zone = std::string(offset < 0 ? "-" : "+") + twoDigits(magnitude / 60 % 100) + ":" +
                             twoDigits(magnitude % 60);
    return formatLocalTime(time, "%Y-%m-%dT%H:%M:%S") + zone;
}

} // namespace zorvant::platform
