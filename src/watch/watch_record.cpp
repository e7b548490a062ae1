#include "watch/watch_record.h"

namespace zorvant::watch {
namespace {

// The text before the first ";" (empty without one) and the rest after it (all of it without one).
std::pair<std::string_view, std::string_view> cutAtSemicolon(std::string_view text) {
    const auto semicolon = text.find(';');
    if (semicolon == std::string_view::npos)
        return {{}, text};
    return {text.substr(0, semicolon), text.substr(semicolon + 1)};
}

} // namespace

WatchRecord parseWatchValue(std::string_view value) {
    const auto [messageFile, rest] = cutAtSemicolon(value);
    const auto [action, target] = cutAtSemicolon(rest);
    return {std::string(messageFile), std::string(action), std::string(target)};
}

std::string formatWatchValue(const WatchRecord& record) {
    return record.MessageFile + ";" + record.Action + ";" + record.Target;
}

} // namespace zorvant::watch
