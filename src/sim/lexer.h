#pragma once
// Tokens of one line of a script's body. A line holds one statement; "'" (or a typographic quote)
// starts a comment that runs to the line's end.
#include "sim/script_error.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::sim {

enum class TokenKind { Word, Number, Text, Symbol };

struct Token {
    TokenKind kind;
    // Word: the name in Latin upper case; Text: the constant's bytes; Symbol: "<=", "(", ...
    std::string text;
    double number = 0;
    SourcePos pos;
};

struct LexOptions {
    // When false, string constants are upper-cased, as the terminal does by default.
    bool caseSensitiveConstants = false;
};

// Throws ScriptError at the first character that starts no token.
std::vector<Token> lexLine(std::string_view line, int lineNumber, LexOptions options);

// True when the line ends with " _", the mark that the statement goes on in the next line; the mark is
// then removed from line.
bool takeContinuation(std::string& line);

} // namespace zorvant::sim
