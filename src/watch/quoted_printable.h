#pragma once
// Quoted-printable body encoding (RFC 2045) for a body that 8bit cannot carry.
#include <string>
#include <string_view>

namespace zorvant::watch {

// The longest line, without its CR LF, that SMTP and the 8bit transfer encoding allow.
inline constexpr std::size_t kMaxLineLength = 998;

// True when the text cannot go out as one 8bit line: it is too long, or it holds a line break or NUL.
bool needsQuotedPrintable(std::string_view line);

// The text as quoted-printable lines of at most 76 characters joined by soft line breaks, so that a
// reader gets back exactly the same one line; no CR LF at the end.
std::string quotedPrintable(std::string_view text);

} // namespace zorvant::watch
