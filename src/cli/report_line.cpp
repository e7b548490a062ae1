#include "cli/report_line.h"

#include "platform/local_time.h"
#include "text/cp1251.h"

#include <algorithm>

namespace zorvant::cli {
namespace {

std::string field(std::string_view cp1251) {
    std::string out = text::toUtf8(cp1251);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return out;
}

} // namespace

std::string reportLine(const watch::TickReport& report) {
    std::string line = platform::formatLocalTime(report.time, "%Y-%m-%d %H:%M:%S") + '\t' +
                       field(report.messageFile) + '\t' + field(report.action) + '\t' + field(report.target);
    if (report.kind == watch::TickReport::Kind::Error)
        line += "\tошибка: " + field(report.text);
    return line;
}

} // namespace zorvant::cli
