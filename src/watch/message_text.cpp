#include "watch/message_text.h"

#include "platform/services.h"

namespace zorvant::watch {
namespace {

#ifdef _WIN32
constexpr std::string_view kFolderEnds = "\\/:";
#else
constexpr std::string_view kFolderEnds = "/";
#endif

} // namespace

std::string joinMessageLines(std::string_view bytes) {
    std::string out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        out += ' ';
        out += bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (end == std::string_view::npos)
            break;
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

std::string ReadMessageText(platform::Services& system, std::string_view messageFile) {
    return joinMessageLines(system.readFile(messageFile));
}

std::string substitutePlaceholder(std::string_view target, std::string_view messageText) {
    const std::size_t at = target.find(kPlaceholder);
    if (at == std::string_view::npos)
        return std::string(target);
    std::string out(target.substr(0, at));
    out += messageText;
    out += target.substr(at + kPlaceholder.size());
    return out;
}

std::string copyNameFor(std::string_view file) {
    const std::size_t folderEnd = file.find_last_of(kFolderEnds);
    const std::size_t nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart)
        dot = file.size();
    return std::string(file.substr(0, dot)) + std::string(kCopySuffix) + std::string(file.substr(dot));
}

std::string_view unquoted(std::string_view target) {
    if (target.size() >= 2 && target.front() == '"' && target.back() == '"')
        return target.substr(1, target.size() - 2);
    return target;
}

} // namespace zorvant::watch
