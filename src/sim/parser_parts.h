#pragma once
// What the three readers of a script share: the token cursor, the name scope and the list of calls
// that are matched with their functions once the whole text is read.
#include "sim/ast.h"
#include "sim/lexer.h"
#include "sim/script.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorvant::sim {

struct SourceLine {
    int number = 0;
    std::vector<Token> tokens;
    // Just past the statement's last character, on its last line.
    SourcePos end;
};

class TokenCursor {
public:
    TokenCursor(const std::vector<Token>& tokens, SourcePos lineEnd) : tokens_(tokens), lineEnd_(lineEnd) {}

    bool atEnd() const { return pos_ >= tokens_.size(); }
    const Token& peek() const { return tokens_[pos_]; }
    const Token& take() { return tokens_[pos_++]; }
    bool isWord(std::string_view word) const;
    bool isSymbol(std::string_view symbol) const;
    // The place of the next token, or of the line's end.
    SourcePos here() const { return atEnd() ? lineEnd_ : peek().pos; }

    const Token& expectWord(std::string_view what);
    void expectSymbol(std::string_view symbol);
    void expectEnd();

private:
    const std::vector<Token>& tokens_;
    SourcePos lineEnd_;
    std::size_t pos_ = 0;
};

bool isKeyword(std::string_view upperWord);

// Names outside a FUNC, and names inside one other than its parameters, are the script's globals.
class NameScope {
public:
    explicit NameScope(std::vector<std::string>& globals) : globals_(globals) {}

    VarRef resolve(const std::string& upperName);
    void enterFunction(const std::vector<std::string>& params) { params_ = &params; }
    void leaveFunction() { params_ = nullptr; }
    bool inFunction() const { return params_ != nullptr; }

private:
    std::vector<std::string>& globals_;
    std::unordered_map<std::string, int> index_;
    const std::vector<std::string>* params_ = nullptr;
};

struct ParseContext {
    NameScope& names;
    std::vector<CallExpr*>& calls;
};

// Bounds on how deep a script may nest, so that a hostile text cannot exhaust the stack of the reader or
// of the machine that runs it. An expression counts its brackets, signs, call arguments and the
// operators of a chain; a long generated condition line stays well inside.
inline constexpr int kMostExpressionDepth = 3000;
inline constexpr int kMostBlockDepth = 200;

// Counts one level for as long as it lives.
class DepthGuard {
public:
    DepthGuard(int& depth, int most, SourcePos pos, std::string_view complaint);
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

ExprPtr parseExpression(TokenCursor& cursor, ParseContext& context);

// Parses the body lines (between PROGRAM and END_PROGRAM) into the script's body and FUNCs.
void parseBody(const std::vector<SourceLine>& lines, Script& script);

} // namespace zorvant::sim
