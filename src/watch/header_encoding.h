#pragma once
// Header values of an e-mail: RFC 2047 encoded words in "windows-1251" with the B encoding for text
// that is not plain ASCII, and folding of long header lines. Input is Windows-1251 text.
#include "watch/mail_address.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

std::string base64(std::string_view bytes);

// True for text that a header cannot carry as typed: bytes outside plain ASCII, control characters
// (a line break would start a new header) and "=?", which a reader would take for an encoded word.
bool needsEncoding(std::string_view word);

// The text as encoded words of at most 67 characters each; readers join adjacent ones without a gap.
std::vector<std::string> encodedWords(std::string_view text);

// A subject as header tokens: plain ASCII words as typed, each run of other words (with the blanks
// between them) as encoded words.
std::vector<std::string> subjectTokens(std::string_view subject);

// A mailbox as header tokens: the bare address when there is no other name, otherwise the name
// (quoted, or encoded words) and the address in angle brackets.
std::vector<std::string> mailboxTokens(const Mailbox& mailbox);

// "Name: " and the tokens joined by blanks, folded before a token where the line would pass 76
// characters; no CR LF at the end.
std::string headerLine(std::string_view name, const std::vector<std::string>& tokens);

} // namespace zorvant::watch
