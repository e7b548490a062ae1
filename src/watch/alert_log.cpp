#include "watch/alert_log.h"

#include "platform/local_time.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace zorvant::watch {
using namespace text::literals;

namespace {

std::string field(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return out;
}

std::uintmax_t sizeOf(const std::string& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(platform::nativePath(file), ec);
    return ec ? 0 : size;
}

void addLinesOf(const std::string& file, std::vector<std::string>& lines) {
    if (!platform::plainFileExists(file))
        return;
    try {
        for (auto& line : text::splitSettingsLines(platform::readFile(file)))
            if (!line.empty())
                lines.push_back(std::move(line));
    } catch (const Error&) {
        // A log being rotated by another program is read again at its next change.
    }
}

} // namespace

std::string alertLogLine(const TickReport& report) {
    const bool failed = report.kind == TickReport::Kind::Error;
    const std::string result =
        failed ? std::string("ошибка: "_cp) + field(report.text) : std::string("выполнено"_cp);
    return platform::formatLocalTime(report.time, "%Y-%m-%d %H:%M:%S") + '\t' + field(report.messageFile) +
           '\t' + field(report.action) + '\t' + field(report.target) + '\t' +
           field(failed ? report.message : report.text) + '\t' + result;
}

AlertLogEntry parseAlertLogLine(std::string_view line) {
    AlertLogEntry entry;
    const std::array<std::string*, 6> fields = {&entry.time,   &entry.messageFile, &entry.action,
                                                &entry.target, &entry.message,     &entry.result};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t tab = i + 1 < fields.size() ? line.find('\t') : std::string_view::npos;
        *fields[i] = std::string(line.substr(0, tab));
        line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    }
    return entry;
}

AlertLog::AlertLog(const std::string& folder, std::uintmax_t limit)
    : file_(folder + std::string(kAlertLogName)), oldFile_(folder + std::string(kOldAlertLogName)),
      limit_(limit) {}

std::string AlertLog::append(const TickReport& report) {
    const std::string line = alertLogLine(report) + "\r\n";
    const std::lock_guard lock(mutex_);
    try {
        if (const auto size = sizeOf(file_); size > 0 && size + line.size() > limit_) {
            platform::deleteFile(oldFile_);
            platform::renameFile(file_, oldFile_);
        }
        platform::appendFile(file_, line);
        return {};
    } catch (const Error& error) {
        return error.what();
    }
}

std::vector<AlertLogEntry> AlertLog::newest(std::size_t most) const {
    std::vector<std::string> lines;
    addLinesOf(oldFile_, lines);
    addLinesOf(file_, lines);
    std::vector<AlertLogEntry> entries;
    for (auto line = lines.rbegin(); line != lines.rend() && entries.size() < most; ++line)
        entries.push_back(parseAlertLogLine(*line));
    return entries;
}

std::string AlertLog::stamp() const {
    std::error_code ec;
    const auto path = platform::nativePath(file_);
    const auto time = std::filesystem::last_write_time(path, ec);
    return std::to_string(sizeOf(file_)) + ":" + std::to_string(time.time_since_epoch().count());
}

} // namespace zorvant::watch
