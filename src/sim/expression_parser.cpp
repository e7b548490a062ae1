#include "sim/parser_parts.h"

#include "sim/join.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

constexpr std::string_view kTooDeep = "выражение вложено слишком глубоко"_cp;

struct OpName {
    std::string_view symbol;
    BinaryOp op;
};

constexpr OpName kComparisons[] = {
    {"=", BinaryOp::Equal},     {"==", BinaryOp::Equal},        {"!=", BinaryOp::NotEqual},
    {"<>", BinaryOp::NotEqual}, {"<", BinaryOp::Less},          {"<=", BinaryOp::LessEqual},
    {">", BinaryOp::Greater},   {">=", BinaryOp::GreaterEqual},
};
constexpr OpName kAdditive[] = {{"+", BinaryOp::Add}, {"-", BinaryOp::Subtract}, {"&", BinaryOp::Join}};
constexpr OpName kMultiplicative[] = {{"*", BinaryOp::Multiply}, {"/", BinaryOp::Divide}};

template <std::size_t N> const OpName* matchSymbol(const TokenCursor& cursor, const OpName (&ops)[N]) {
    if (cursor.atEnd() || cursor.peek().kind != TokenKind::Symbol)
        return nullptr;
    for (const OpName& op : ops)
        if (cursor.peek().text == op.symbol)
            return &op;
    return nullptr;
}

class ExpressionParser {
public:
    ExpressionParser(TokenCursor& cursor, ParseContext& context) : cursor_(cursor), context_(context) {}

    // AND and OR share the lowest level and go left to right.
    ExprPtr logic() {
        const DepthGuard nested = deeper();
        ExprPtr left = comparison();
        int chained = 0;
        while (cursor_.isWord("AND") || cursor_.isWord("OR")) {
            const Token& op = cursor_.take();
            chain(chained, op.pos);
            left = std::make_unique<BinaryExpr>(op.pos, op.text == "AND" ? BinaryOp::And : BinaryOp::Or,
                                                std::move(left), comparison());
        }
        depth_ -= chained;
        return left;
    }

private:
    DepthGuard deeper() { return DepthGuard(depth_, kMostExpressionDepth, cursor_.here(), kTooDeep); }

    // Every operator of a chain makes the tree one level deeper, so it counts as a level too.
    void chain(int& chained, SourcePos pos) {
        ++chained;
        if (++depth_ > kMostExpressionDepth) {
            depth_ -= chained;
            throw ScriptError(pos, kTooDeep);
        }
    }

    template <std::size_t N> ExprPtr level(const OpName (&ops)[N], ExprPtr (ExpressionParser::*lower)()) {
        ExprPtr left = (this->*lower)();
        int chained = 0;
        while (const OpName* op = matchSymbol(cursor_, ops)) {
            const SourcePos pos = cursor_.take().pos;
            chain(chained, pos);
            left = std::make_unique<BinaryExpr>(pos, op->op, std::move(left), (this->*lower)());
        }
        depth_ -= chained;
        return left;
    }

    ExprPtr comparison() { return level(kComparisons, &ExpressionParser::additive); }
    ExprPtr additive() { return level(kAdditive, &ExpressionParser::term); }
    ExprPtr term() { return level(kMultiplicative, &ExpressionParser::unary); }

    ExprPtr unary() {
        const DepthGuard nested = deeper();
        if (cursor_.isSymbol("-")) {
            const SourcePos pos = cursor_.take().pos;
            return std::make_unique<NegateExpr>(pos, unary());
        }
        if (cursor_.isSymbol("+")) {
            cursor_.take();
            return unary();
        }
        return primary();
    }

    ExprPtr primary() {
        if (cursor_.atEnd())
            throw ScriptError(cursor_.here(), "выражение оборвано"_cp);
        const Token& token = cursor_.take();
        switch (token.kind) {
        case TokenKind::Number:
            return std::make_unique<ConstantExpr>(token.pos, Value(token.number));
        case TokenKind::Text:
            return std::make_unique<ConstantExpr>(token.pos, Value(token.text));
        case TokenKind::Word:
            return word(token);
        case TokenKind::Symbol:
            break;
        }
        if (token.text != "(")
            throw ScriptError(token.pos, "ожидалось значение"_cp);
        ExprPtr inner = logic();
        cursor_.expectSymbol(")");
        return inner;
    }

    ExprPtr word(const Token& token) {
        if (cursor_.isSymbol("("))
            return call(token);
        if (isKeyword(token.text) && token.text != "RESULT")
            throw ScriptError(token.pos, "ожидалось значение"_cp);
        return std::make_unique<VariableExpr>(token.pos, context_.names.resolve(token.text));
    }

    ExprPtr call(const Token& name) {
        cursor_.expectSymbol("(");
        std::vector<ExprPtr> args;
        if (!cursor_.isSymbol(")")) {
            args.push_back(logic());
            while (cursor_.isSymbol(",")) {
                cursor_.take();
                args.push_back(logic());
            }
        }
        cursor_.expectSymbol(")");
        auto expr = std::make_unique<CallExpr>(name.pos, name.text, std::move(args));
        context_.calls.push_back(expr.get());
        return expr;
    }

    TokenCursor& cursor_;
    ParseContext& context_;
    int depth_ = 0;
};

} // namespace

DepthGuard::DepthGuard(int& depth, int most, SourcePos pos, std::string_view complaint) : depth_(depth) {
    if (++depth_ > most) {
        --depth_;
        throw ScriptError(pos, complaint);
    }
}

bool TokenCursor::isWord(std::string_view word) const {
    return !atEnd() && peek().kind == TokenKind::Word && peek().text == word;
}

bool TokenCursor::isSymbol(std::string_view symbol) const {
    return !atEnd() && peek().kind == TokenKind::Symbol && peek().text == symbol;
}

const Token& TokenCursor::expectWord(std::string_view what) {
    if (atEnd() || peek().kind != TokenKind::Word)
        throw ScriptError(here(), cat("ожидалось "_cp, what));
    return take();
}

void TokenCursor::expectSymbol(std::string_view symbol) {
    if (!isSymbol(symbol))
        throw ScriptError(here(), cat("ожидалось «"_cp, symbol, "»"_cp));
    take();
}

void TokenCursor::expectEnd() {
    if (!atEnd())
        throw ScriptError(here(), "лишний текст в конце строки"_cp);
}

bool isKeyword(std::string_view upperWord) {
    static constexpr std::string_view keywords[] = {"IF",     "ELSE",  "END",      "FOR",   "FROM",
                                                    "TO",     "IN",    "AND",      "OR",    "FUNC",
                                                    "RESULT", "BREAK", "CONTINUE", "RETURN"};
    for (const std::string_view k : keywords)
        if (k == upperWord)
            return true;
    return false;
}

VarRef NameScope::resolve(const std::string& upperName) {
    if (params_ != nullptr) {
        if (upperName == "RESULT")
            return {VarRef::Scope::Result, 0, upperName};
        for (std::size_t i = 0; i < params_->size(); ++i)
            if ((*params_)[i] == upperName)
                return {VarRef::Scope::Param, static_cast<int>(i), upperName};
    }
    const auto [it, added] = index_.try_emplace(upperName, static_cast<int>(globals_.size()));
    if (added)
        globals_.push_back(upperName);
    return {VarRef::Scope::Global, it->second, upperName};
}

ExprPtr parseExpression(TokenCursor& cursor, ParseContext& context) {
    return ExpressionParser(cursor, context).logic();
}

} // namespace zorvant::sim
