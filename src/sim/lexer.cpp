#include "sim/lexer.h"

#include "sim/conversions.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool startsComment(char c) {
    return c == '\'' || c == '\x91' || c == '\x92';
}

class LineLexer {
public:
    LineLexer(std::string_view line, int lineNumber, LexOptions options)
        : line_(line), lineNumber_(lineNumber), options_(options) {}

    std::vector<Token> run() {
        while (pos_ < line_.size()) {
            const char c = line_[pos_];
            if (c == ' ' || c == '\t' || c == '\r')
                ++pos_;
            else if (startsComment(c))
                break;
            else
                tokens_.push_back(next(c));
        }
        return std::move(tokens_);
    }

private:
    SourcePos here() const { return {lineNumber_, static_cast<int>(pos_) + 1}; }

    Token next(char c) {
        if (isLetter(c))
            return word();
        if (isDigit(c) || (c == '.' && pos_ + 1 < line_.size() && isDigit(line_[pos_ + 1])))
            return number();
        if (c == '"')
            return constant();
        return symbol();
    }

    Token word() {
        Token token{TokenKind::Word, {}, 0, here()};
        const std::size_t start = pos_;
        while (pos_ < line_.size() && (isLetter(line_[pos_]) || isDigit(line_[pos_])))
            ++pos_;
        token.text = upperCaseLatin(line_.substr(start, pos_ - start));
        return token;
    }

    Token number() {
        Token token{TokenKind::Number, {}, 0, here()};
        const std::size_t start = pos_;
        while (pos_ < line_.size() && (isDigit(line_[pos_]) || line_[pos_] == '.'))
            ++pos_;
        if (pos_ < line_.size() && std::string_view("EeDd").find(line_[pos_]) != std::string_view::npos) {
            std::size_t exp = pos_ + 1;
            if (exp < line_.size() && (line_[exp] == '+' || line_[exp] == '-'))
                ++exp;
            if (exp < line_.size() && isDigit(line_[exp])) {
                pos_ = exp;
                while (pos_ < line_.size() && isDigit(line_[pos_]))
                    ++pos_;
            }
        }
        token.text = std::string(line_.substr(start, pos_ - start));
        const auto value = parseQplNumber(token.text);
        if (!value || (pos_ < line_.size() && isLetter(line_[pos_])))
            throw ScriptError(token.pos, "неверно записано число"_cp);
        token.number = *value;
        return token;
    }

    Token constant() {
        Token token{TokenKind::Text, {}, 0, here()};
        const std::size_t close = line_.find('"', pos_ + 1);
        if (close == std::string_view::npos)
            throw ScriptError(token.pos, "строковая константа не закрыта кавычкой"_cp);
        const std::string_view body = line_.substr(pos_ + 1, close - pos_ - 1);
        token.text = options_.caseSensitiveConstants ? std::string(body) : upperCase(body);
        pos_ = close + 1;
        return token;
    }

    Token symbol() {
        static constexpr std::string_view twoChar[] = {"<=", ">=", "<>", "!=", "=="};
        Token token{TokenKind::Symbol, {}, 0, here()};
        for (const std::string_view s : twoChar)
            if (line_.substr(pos_, 2) == s) {
                token.text = std::string(s);
                pos_ += 2;
                return token;
            }
        if (std::string_view("+-*/&=<>(),").find(line_[pos_]) == std::string_view::npos)
            throw ScriptError(token.pos, "недопустимый символ"_cp);
        token.text = std::string(1, line_[pos_++]);
        return token;
    }

    std::string_view line_;
    int lineNumber_;
    LexOptions options_;
    std::size_t pos_ = 0;
    std::vector<Token> tokens_;
};

} // namespace

std::vector<Token> lexLine(std::string_view line, int lineNumber, LexOptions options) {
    return LineLexer(line, lineNumber, options).run();
}

bool takeContinuation(std::string& line) {
    std::size_t end = line.find_last_not_of(" \t\r");
    if (end == std::string::npos || end < 1 || line[end] != '_' ||
        (line[end - 1] != ' ' && line[end - 1] != '\t'))
        return false;
    line.erase(end);
    return true;
}

} // namespace zorvant::sim
