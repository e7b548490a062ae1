#pragma once
// The alert log "Zorvant.log" beside the program: one line for every action carried out or failed,
// written where the reports are made (Watcher), by the desktop program and zorvant-cli watch alike.
// Windows-1251, CR LF; the fields are separated by tabs: local time, message file, action, target,
// message text, result. Once the file would grow past its limit it becomes "Zorvant.old.log", replacing
// the one before, and a new file begins.
#include "watch/tick_report.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

inline constexpr std::string_view kAlertLogName = "Zorvant.log";
inline constexpr std::string_view kOldAlertLogName = "Zorvant.old.log";
inline constexpr std::uintmax_t kAlertLogLimit = 1024 * 1024;

struct AlertLogEntry {
    std::string time;
    std::string messageFile;
    std::string action;
    std::string target;
    std::string message;
    std::string result;
    bool operator==(const AlertLogEntry&) const = default;
};

// The line of a report, without its line end; tabs and line breaks inside the texts become spaces.
std::string alertLogLine(const TickReport& report);
AlertLogEntry parseAlertLogLine(std::string_view line);

class AlertLog {
public:
    // folder ends with the path separator.
    explicit AlertLog(const std::string& folder, std::uintmax_t limit = kAlertLogLimit);

    // Appends the report's line. Returns the reason when it could not be written, or an empty text.
    std::string append(const TickReport& report);
    // The newest entries first, at most the number given, from this file and the one before.
    std::vector<AlertLogEntry> newest(std::size_t most) const;
    // Changes whenever the file does; for a page that reads it again only then.
    std::string stamp() const;
    const std::string& file() const { return file_; }

private:
    std::string file_;
    std::string oldFile_;
    std::uintmax_t limit_;
    std::mutex mutex_;
};

} // namespace zorvant::watch
