#include "sim/builtins.h"
#include "sim/parser_parts.h"
#include "sim/script.h"

#include "sim/join.h"
#include "text/cp1251.h"

#include <unordered_map>

namespace zorvant::sim {
namespace {

using namespace text::literals;

std::string quoted(std::string_view name) {
    return cat("«"_cp, name, "»"_cp);
}

// Reads statements line by line; a block ends at one of the words its opener expects.
class BodyParser {
public:
    BodyParser(const std::vector<SourceLine>& lines, Script& script)
        : lines_(lines), script_(script), names_(script.globals), context_{names_, calls_} {}

    void run() {
        while (next_ < lines_.size()) {
            if (lineStartsWith("FUNC"))
                function();
            else
                script_.body.push_back(statementOrFail());
        }
        resolveCalls();
    }

private:
    const SourceLine& line() const { return lines_[next_]; }
    static SourcePos lineEnd(const SourceLine& l) { return l.end; }
    bool lineStartsWith(std::string_view word) const {
        return line().tokens.front().kind == TokenKind::Word && line().tokens.front().text == word;
    }
    bool lineIs(std::string_view first, std::string_view second = {}) const {
        const auto& t = line().tokens;
        if (t.front().kind != TokenKind::Word || t.front().text != first)
            return false;
        return second.empty() || (t.size() >= 2 && t[1].kind == TokenKind::Word && t[1].text == second);
    }

    StmtPtr statementOrFail() {
        if (lineIs("ELSE") || lineIs("END"))
            throw ScriptError(line().tokens.front().pos, "нет начала для этого блока"_cp);
        return statement();
    }

    // Parses statements up to a line that is "END {closer}" (or ELSE when allowed); leaves next_ on it.
    Block block(std::string_view closer, bool allowElse, SourcePos opener) {
        const DepthGuard nested(blockDepth_, kMostBlockDepth, opener, "блоки вложены слишком глубоко"_cp);
        Block result;
        for (;;) {
            if (next_ >= lines_.size())
                throw ScriptError(opener, cat("нет END "_cp, closer, " для этого блока"_cp));
            if (lineIs("END", closer) || (allowElse && lineIs("ELSE")))
                return result;
            if (lineIs("FUNC"))
                throw ScriptError(line().tokens.front().pos, "FUNC внутри блока"_cp);
            result.push_back(statementOrFail());
        }
    }

    void closeLine(std::size_t wordCount) {
        TokenCursor cursor(line().tokens, lineEnd(line()));
        for (std::size_t i = 0; i < wordCount; ++i)
            cursor.take();
        cursor.expectEnd();
        ++next_;
    }

    StmtPtr statement() {
        TokenCursor cursor(line().tokens, lineEnd(line()));
        const Token& first = cursor.peek();
        if (first.kind != TokenKind::Word)
            throw ScriptError(first.pos, "ожидался оператор"_cp);
        if (first.text == "IF")
            return ifStatement(cursor);
        if (first.text == "FOR")
            return forStatement(cursor);
        if (first.text == "BREAK" || first.text == "CONTINUE" || first.text == "RETURN")
            return jump(cursor);
        return simple(cursor);
    }

    StmtPtr ifStatement(TokenCursor& cursor) {
        auto stmt = std::make_unique<IfStmt>(cursor.take().pos);
        stmt->condition = parseExpression(cursor, context_);
        cursor.expectEnd();
        ++next_;
        stmt->then = block("IF", true, stmt->pos);
        if (lineIs("ELSE")) {
            closeLine(1);
            stmt->otherwise = block("IF", false, stmt->pos);
        }
        closeLine(2);
        return stmt;
    }

    VarRef target(const Token& name) {
        if (name.kind != TokenKind::Word || (isKeyword(name.text) && name.text != "RESULT"))
            throw ScriptError(name.pos, "ожидалось имя переменной"_cp);
        return names_.resolve(name.text);
    }

    StmtPtr forStatement(TokenCursor& cursor) {
        const SourcePos pos = cursor.take().pos;
        const VarRef variable = target(cursor.expectWord("имя переменной"_cp));
        if (cursor.isWord("IN")) {
            cursor.take();
            auto stmt = std::make_unique<ForInStmt>(pos);
            stmt->variable = variable;
            stmt->list = parseExpression(cursor, context_);
            stmt->body = loopBody(cursor, pos);
            return stmt;
        }
        auto stmt = std::make_unique<ForRangeStmt>(pos);
        stmt->variable = variable;
        if (!cursor.isWord("FROM"))
            throw ScriptError(cursor.here(), "ожидалось FROM или IN"_cp);
        cursor.take();
        stmt->from = parseExpression(cursor, context_);
        if (!cursor.isWord("TO"))
            throw ScriptError(cursor.here(), "ожидалось TO"_cp);
        cursor.take();
        stmt->to = parseExpression(cursor, context_);
        stmt->body = loopBody(cursor, pos);
        return stmt;
    }

    Block loopBody(TokenCursor& cursor, SourcePos pos) {
        cursor.expectEnd();
        ++next_;
        ++loopDepth_;
        Block body = block("FOR", false, pos);
        --loopDepth_;
        closeLine(2);
        return body;
    }

    StmtPtr jump(TokenCursor& cursor) {
        const Token& word = cursor.take();
        cursor.expectEnd();
        ++next_;
        if (word.text == "RETURN")
            return std::make_unique<JumpStmt>(word.pos, Jump::Return);
        if (loopDepth_ == 0)
            throw ScriptError(word.pos, cat(word.text, " вне цикла FOR"_cp));
        return std::make_unique<JumpStmt>(word.pos, word.text == "BREAK" ? Jump::Break : Jump::Continue);
    }

    StmtPtr simple(TokenCursor& cursor) {
        const Token& name = cursor.take();
        StmtPtr stmt;
        if (cursor.isSymbol("=")) {
            cursor.take();
            VarRef ref = target(name);
            stmt = std::make_unique<AssignStmt>(name.pos, std::move(ref), parseExpression(cursor, context_));
        } else if (cursor.isSymbol("(")) {
            TokenCursor whole(line().tokens, lineEnd(line()));
            stmt = std::make_unique<CallStmt>(name.pos, parseExpression(whole, context_));
            whole.expectEnd();
            ++next_;
            return stmt;
        } else {
            throw ScriptError(cursor.here(), "ожидалось «=» или вызов функции"_cp);
        }
        cursor.expectEnd();
        ++next_;
        return stmt;
    }

    void function() {
        TokenCursor cursor(line().tokens, lineEnd(line()));
        Function fn;
        fn.pos = cursor.take().pos;
        const Token& name = cursor.expectWord("имя функции"_cp);
        if (isKeyword(name.text))
            throw ScriptError(name.pos, "ожидалось имя функции"_cp);
        fn.name = name.text;
        fn.params = parameters(cursor);
        cursor.expectEnd();
        ++next_;
        script_.functions.push_back(std::move(fn));
        Function& stored = script_.functions.back();
        names_.enterFunction(stored.params);
        stored.body = block("FUNC", false, stored.pos);
        names_.leaveFunction();
        closeLine(2);
    }

    std::vector<std::string> parameters(TokenCursor& cursor) {
        std::vector<std::string> params;
        cursor.expectSymbol("(");
        while (!cursor.isSymbol(")")) {
            if (!params.empty())
                cursor.expectSymbol(",");
            const Token& p = cursor.expectWord("имя параметра"_cp);
            if (isKeyword(p.text))
                throw ScriptError(p.pos, "ожидалось имя параметра"_cp);
            for (const auto& existing : params)
                if (existing == p.text)
                    throw ScriptError(p.pos, cat("параметр "_cp, quoted(p.text), " повторяется"_cp));
            params.push_back(p.text);
        }
        cursor.take();
        return params;
    }

    void resolveCalls() {
        std::unordered_map<std::string, int> byName;
        for (std::size_t i = 0; i < script_.functions.size(); ++i) {
            const Function& fn = script_.functions[i];
            if (!byName.try_emplace(fn.name, static_cast<int>(i)).second)
                throw ScriptError(fn.pos, cat("функция "_cp, quoted(fn.name), " описана дважды"_cp));
        }
        for (CallExpr* call : calls_)
            resolve(*call, byName);
    }

    void resolve(CallExpr& call, const std::unordered_map<std::string, int>& byName) {
        const int given = static_cast<int>(call.args.size());
        if (const auto it = byName.find(call.name); it != byName.end()) {
            call.function = it->second;
            if (static_cast<std::size_t>(given) != script_.functions[it->second].params.size())
                throw ScriptError(call.pos, cat("неверное число аргументов функции "_cp, quoted(call.name)));
            return;
        }
        call.builtin = findBuiltin(call.name);
        if (call.builtin == nullptr)
            throw ScriptError(call.pos, cat("неизвестная функция "_cp, quoted(call.name)));
        if (given < call.builtin->minArgs || given > call.builtin->maxArgs)
            throw ScriptError(call.pos, cat("неверное число аргументов функции "_cp, quoted(call.name)));
    }

    const std::vector<SourceLine>& lines_;
    Script& script_;
    NameScope names_;
    std::vector<CallExpr*> calls_;
    ParseContext context_;
    std::size_t next_ = 0;
    int loopDepth_ = 0;
    int blockDepth_ = 0;
};

} // namespace

void parseBody(const std::vector<SourceLine>& lines, Script& script) {
    BodyParser(lines, script).run();
}

} // namespace zorvant::sim
