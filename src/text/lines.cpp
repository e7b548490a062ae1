#include "text/lines.h"

namespace zorvant::text {

std::vector<std::string> splitSettingsLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false; // characters read since the last line end
    for (const char c : bytes) {
        pending = true;
        if (c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
        } else if (c != '\r') {
            current += c;
        }
    }
    if (pending)
        lines.push_back(std::move(current));
    return lines;
}

std::vector<std::string> splitConditionLines(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace zorvant::text
