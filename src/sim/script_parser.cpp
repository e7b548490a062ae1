#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/parser_parts.h"
#include "sim/script.h"

#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool isBlankOrComment(std::string_view line) {
    const std::string_view t = trimmed(line);
    return t.empty() || t.front() == '\'' || t.front() == '\x91' || t.front() == '\x92';
}

std::vector<std::string> physicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos || end + 1 == text.size())
            break;
        start = end + 1;
    }
    return lines;
}

// A header or column line: a key word, then free text that must end with ";".
struct KeyLine {
    std::string key;
    std::string value;
};

KeyLine splitKeyLine(std::string_view line, int number, bool needsSemicolon) {
    const std::string_view t = trimmed(line);
    const auto space = t.find_first_of(" \t;");
    KeyLine out{upperCaseLatin(t.substr(0, space)), {}};
    std::string_view rest = space == std::string_view::npos ? std::string_view{} : t.substr(space);
    rest = trimmed(rest);
    if (!rest.empty() && rest.back() == ';')
        out.value = std::string(trimmed(rest.substr(0, rest.size() - 1)));
    else if (needsSemicolon)
        throw ScriptError({number, static_cast<int>(line.size()) + 1},
                          "строка должна кончаться знаком «;»"_cp);
    else
        out.value = std::string(rest);
    return out;
}

class ScriptReader {
public:
    explicit ScriptReader(std::string_view text) : lines_(physicalLines(text)) {}

    Script run() {
        header();
        body();
        columns();
        for (; next_ < lines_.size(); ++next_)
            if (!isBlankOrComment(lines_[next_]))
                throw ScriptError(place(), "текст после END_PORTFOLIO_EX"_cp);
        return std::move(script_);
    }

private:
    SourcePos place() const { return {static_cast<int>(next_) + 1, 1}; }
    int number() const { return static_cast<int>(next_) + 1; }
    std::string firstWord() const {
        const std::string_view t = trimmed(lines_[next_]);
        return upperCaseLatin(t.substr(0, t.find_first_of(" \t;")));
    }
    void skipBlank() {
        while (next_ < lines_.size() && isBlankOrComment(lines_[next_]))
            ++next_;
    }

    void header() {
        skipBlank();
        if (next_ >= lines_.size() || (firstWord() != "PORTFOLIO_EX" && firstWord() != "PORTFOLIO"))
            throw ScriptError(place(), "скрипт должен начинаться строкой PORTFOLIO_EX"_cp);
        for (;; ++next_) {
            skipBlank();
            if (next_ >= lines_.size())
                throw ScriptError(place(), "нет строки PROGRAM"_cp);
            if (firstWord() == "PROGRAM" && trimmed(lines_[next_]).size() == 7)
                break;
            headerLine();
        }
        ++next_;
    }

    void headerLine() {
        const std::string word = firstWord();
        if (word == "USE_CASE_SENSITIVE_CONSTANTS") {
            script_.header.caseSensitiveConstants = true;
            return;
        }
        if (word == "INCLUDE")
            throw ScriptError(place(), "INCLUDE не поддерживается: функции должны стоять в самом скрипте"_cp);
        const KeyLine line = splitKeyLine(lines_[next_], number(), true);
        if (word == "PORTFOLIO_EX" || word == "PORTFOLIO")
            script_.header.portfolio = line.value;
        else if (word == "DESCRIPTION")
            script_.header.description = line.value;
        else if (word == "CLIENTS_LIST")
            script_.header.clientsList = line.value;
        else if (word == "FIRMS_LIST")
            script_.header.firmsList = line.value;
        else
            throw ScriptError(place(), cat("неизвестная строка заголовка "_cp, word));
    }

    void body() {
        std::vector<SourceLine> source;
        const LexOptions options{script_.header.caseSensitiveConstants};
        for (;; ++next_) {
            if (next_ >= lines_.size())
                throw ScriptError(place(), "нет строки END_PROGRAM"_cp);
            if (firstWord() == "END_PROGRAM")
                break;
            SourceLine line{number(), {}, {}};
            std::string text = lines_[next_];
            while (takeContinuation(text) && next_ + 1 < lines_.size()) {
                append(line.tokens, lexLine(text, number(), options));
                text = lines_[++next_];
            }
            append(line.tokens, lexLine(text, number(), options));
            line.end = {number(), static_cast<int>(text.size()) + 1};
            if (!line.tokens.empty())
                source.push_back(std::move(line));
        }
        ++next_;
        parseBody(source, script_);
        script_.program = compileProgram(script_);
    }

    static void append(std::vector<Token>& to, std::vector<Token> more) {
        for (auto& t : more)
            to.push_back(std::move(t));
    }

    void columns() {
        for (;; ++next_) {
            skipBlank();
            if (next_ >= lines_.size())
                throw ScriptError(place(), "нет строки END_PORTFOLIO_EX"_cp);
            const std::string word = firstWord();
            if (word == "END_PORTFOLIO_EX" || word == "END_PORTFOLIO")
                break;
            if (word != "PARAMETER")
                throw ScriptError(place(), "ожидалось PARAMETER или END_PORTFOLIO_EX"_cp);
            column();
        }
        ++next_;
    }

    void column() {
        Column column{splitKeyLine(lines_[next_], number(), true).value, {}, {}, {}, place()};
        if (column.name.empty() || column.name.find_first_of(" \t") != std::string::npos)
            throw ScriptError(place(), "неверное имя параметра"_cp);
        for (++next_;; ++next_) {
            skipBlank();
            if (next_ >= lines_.size())
                throw ScriptError(column.pos, "нет END для этого PARAMETER"_cp);
            const std::string word = firstWord();
            if (word == "END")
                break;
            if (word == "END_PORTFOLIO_EX" || word == "PARAMETER")
                throw ScriptError(column.pos, "нет END для этого PARAMETER"_cp);
            const KeyLine line = splitKeyLine(lines_[next_], number(), true);
            if (word == "PARAMETER_TITLE")
                column.title = line.value;
            else if (word == "PARAMETER_DESCRIPTION")
                column.description = line.value;
            else if (word == "PARAMETER_TYPE")
                column.type = checkedType(line.value);
            else
                throw ScriptError(place(), cat("неизвестная строка описания параметра "_cp, word));
        }
        script_.columns.push_back(std::move(column));
    }

    std::string checkedType(const std::string& type) const {
        std::string compact;
        for (const char c : upperCaseLatin(type))
            if (c != ' ')
                compact += c;
        const auto digitsOnly = [](std::string_view s) {
            return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
        };
        const std::string_view v(compact);
        if (v.starts_with("STRING(") && v.ends_with(")") && digitsOnly(v.substr(7, v.size() - 8)))
            return compact;
        if (v.starts_with("NUMERIC(") && v.ends_with(")")) {
            const std::string_view inner = v.substr(8, v.size() - 9);
            const auto comma = inner.find(',');
            if (comma != std::string_view::npos && digitsOnly(inner.substr(0, comma)) &&
                digitsOnly(inner.substr(comma + 1)))
                return compact;
        }
        throw ScriptError(place(), "неверный PARAMETER_TYPE: ожидалось NUMERIC(w,d) или STRING(n)"_cp);
    }

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    Script script_;
};

} // namespace

Script parseScript(std::string_view text) {
    return ScriptReader(text).run();
}

} // namespace zorvant::sim
