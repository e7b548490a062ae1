#include "cli/report_line.h"

#include "text/cp1251.h"

#include <algorithm>
#include <ctime>

namespace zorvant::cli {
namespace {

std::string localTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

std::string field(std::string_view cp1251) {
    std::string out = text::toUtf8(cp1251);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return out;
}

} // namespace

std::string reportLine(const watch::TickReport& report) {
    std::string line = localTime(report.time) + '\t' + field(report.messageFile) + '\t' +
                       field(report.action) + '\t' + field(report.target);
    if (report.kind == watch::TickReport::Kind::Error)
        line += "\tошибка: " + field(report.text);
    return line;
}

} // namespace zorvant::cli
