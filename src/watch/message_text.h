#pragma once
// The texts the watch actions build from a message file. All texts are Windows-1251.
#include "text/cp1251.h"

#include <string>
#include <string_view>

namespace zorvant::platform {
class Services;
}

namespace zorvant::watch {
using namespace text::literals;

inline constexpr std::string_view kPlaceholder = "%ТЕКСТ%"_cp;
inline constexpr std::string_view kCopySuffix = "_mess";

// Every line of the file, each after one space; line ends (CR LF, LF or CR) are not part of a line, and
// an empty file gives the empty text. Throws zorvant::Error when the file cannot be read.
std::string ReadMessageText(platform::Services& system, std::string_view messageFile);

// The message lines as ReadMessageText joins them.
std::string joinMessageLines(std::string_view bytes);

// The first placeholder replaced by the message text as it stands; further placeholders stay.
std::string substitutePlaceholder(std::string_view target, std::string_view messageText);

// The name of the copy that the open action opens when its target is the message file itself: the
// file name with "_mess" before its extension, in the same folder.
std::string copyNameFor(std::string_view file);

// A path the target picker wrapped in double quotes, without them; any other text as it stands.
std::string_view unquoted(std::string_view target);

} // namespace zorvant::watch
