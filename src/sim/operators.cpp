// The binary operators, one node type each: arithmetic, joining texts, comparisons, AND and OR.
#include "sim/ast.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

template <BinaryOp Op> double arithmetic(double a, double b, SourcePos pos) {
    if constexpr (Op == BinaryOp::Add)
        return checkedNumber(a + b, pos);
    else if constexpr (Op == BinaryOp::Subtract)
        return checkedNumber(a - b, pos);
    else if constexpr (Op == BinaryOp::Multiply)
        return checkedNumber(a * b, pos);
    else {
        if (b == 0)
            throw ScriptError(pos, "деление на ноль"_cp);
        return checkedNumber(a / b, pos);
    }
}

template <BinaryOp Op> struct ArithmeticExpr final : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        Value leftScratch;
        const Value& a = leftOperand(machine, leftScratch);
        const Value& b = machine.operand(rightOp, scratch);
        if (a.isNumber() && b.isNumber()) {
            scratch.setNumber(arithmetic<Op>(a.number(), b.number(), pos));
            return scratch;
        }
        // The right operand is converted first: warnings keep the order runs have always listed them in.
        const double y = asNumber(b, machine, pos);
        const double x = asNumber(a, machine, pos);
        scratch.setNumber(arithmetic<Op>(x, y, pos));
        return scratch;
    }
};

struct JoinExpr final : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        Value leftScratch, rightScratch;
        const Value& a = leftOperand(machine, leftScratch);
        const Value& b = machine.operand(rightOp, rightScratch);
        std::string leftText, rightText;
        const std::string_view x = textView(a, leftText, pos);
        const std::string_view y = textView(b, rightText, pos);
        if (x.size() + y.size() > machine.limits().textLength)
            throw ScriptError(pos, "строка длиннее допустимого"_cp);
        std::string text;
        text.reserve(x.size() + y.size());
        text.append(x).append(y);
        scratch = Value(std::move(text));
        return scratch;
    }
};

int compareNumbers(double a, double b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

template <BinaryOp Op> bool holds(int c) {
    if constexpr (Op == BinaryOp::Equal)
        return c == 0;
    else if constexpr (Op == BinaryOp::NotEqual)
        return c != 0;
    else if constexpr (Op == BinaryOp::Less)
        return c < 0;
    else if constexpr (Op == BinaryOp::LessEqual)
        return c <= 0;
    else if constexpr (Op == BinaryOp::Greater)
        return c > 0;
    else
        return c >= 0;
}

template <BinaryOp Op> struct CompareExpr final : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        Value leftScratch;
        const Value& a = leftOperand(machine, leftScratch);
        const Value& b = machine.operand(rightOp, scratch);
        const int c =
            a.isNumber() && b.isNumber() ? compareNumbers(a.number(), b.number()) : compareValues(a, b, pos);
        scratch.setNumber(holds<Op>(c) ? 1.0 : 0.0);
        return scratch;
    }
};

bool truth(const Value& value, Machine& machine, SourcePos pos) {
    return value.isNumber() ? value.number() != 0 : isTrue(value, machine, pos);
}

template <bool IsAnd> struct LogicExpr final : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        Value leftScratch;
        const Value& a = leftOperand(machine, leftScratch);
        const Value& b = machine.operand(rightOp, scratch);
        bool result;
        if constexpr (IsAnd)
            result = truth(a, machine, pos) && truth(b, machine, pos);
        else
            result = truth(a, machine, pos) || truth(b, machine, pos);
        scratch.setNumber(result ? 1.0 : 0.0);
        return scratch;
    }
};

template <class Node> ExprPtr make(SourcePos pos, BinaryOp op, ExprPtr left, ExprPtr right) {
    return std::make_unique<Node>(pos, op, std::move(left), std::move(right));
}

} // namespace

ExprPtr makeBinary(SourcePos pos, BinaryOp op, ExprPtr left, ExprPtr right) {
    using enum BinaryOp;
    switch (op) {
    case Add:
        return make<ArithmeticExpr<Add>>(pos, op, std::move(left), std::move(right));
    case Subtract:
        return make<ArithmeticExpr<Subtract>>(pos, op, std::move(left), std::move(right));
    case Multiply:
        return make<ArithmeticExpr<Multiply>>(pos, op, std::move(left), std::move(right));
    case Divide:
        return make<ArithmeticExpr<Divide>>(pos, op, std::move(left), std::move(right));
    case Join:
        return make<JoinExpr>(pos, op, std::move(left), std::move(right));
    case Equal:
        return make<CompareExpr<Equal>>(pos, op, std::move(left), std::move(right));
    case NotEqual:
        return make<CompareExpr<NotEqual>>(pos, op, std::move(left), std::move(right));
    case Less:
        return make<CompareExpr<Less>>(pos, op, std::move(left), std::move(right));
    case LessEqual:
        return make<CompareExpr<LessEqual>>(pos, op, std::move(left), std::move(right));
    case Greater:
        return make<CompareExpr<Greater>>(pos, op, std::move(left), std::move(right));
    case GreaterEqual:
        return make<CompareExpr<GreaterEqual>>(pos, op, std::move(left), std::move(right));
    case And:
        return make<LogicExpr<true>>(pos, op, std::move(left), std::move(right));
    case Or:
        return make<LogicExpr<false>>(pos, op, std::move(left), std::move(right));
    }
    return nullptr;
}

} // namespace zorvant::sim
