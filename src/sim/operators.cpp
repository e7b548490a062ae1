// The binary operators, one node type each: arithmetic, joining texts, comparisons, AND and OR.
#include "sim/ast.h"
#include "sim/hot_path.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

// The left operand is taken in place only when the right one cannot change it.
ZORVANT_HOT_INLINE const Value& leftOperand(const BinaryExpr& node, Machine& machine, Value& scratch) {
    const Value& value = machine.operand(node.leftOp, scratch);
    if (node.rightIsPure || &value == &scratch)
        return value;
    scratch = value;
    return scratch;
}

// An operand read for arithmetic or truth: a number comes back as one; any other value is left
// pending, to be converted by the caller in the order conversions have always been made.
struct NumberOperand {
    double number;
    const Value* pending;
};

ZORVANT_HOT_INLINE NumberOperand numberOperand(const Operand& op, Machine& machine, Value& scratch) {
    if (op.kind == Operand::Kind::Numeric)
        return {op.node->number(machine), nullptr};
    const Value& value = machine.operand(op, scratch);
    return value.isNumber() ? NumberOperand{value.number(), nullptr} : NumberOperand{0, &value};
}

// Left operands: a number is kept as it is, so it needs no copy even when the right operand calls
// something.
ZORVANT_HOT_INLINE NumberOperand leftNumberOperand(const BinaryExpr& node, Machine& machine, Value& scratch) {
    if (node.leftOp.kind == Operand::Kind::Numeric)
        return {node.left->number(machine), nullptr};
    const Value& value = leftOperand(node, machine, scratch);
    return value.isNumber() ? NumberOperand{value.number(), nullptr} : NumberOperand{0, &value};
}

ZORVANT_HOT_INLINE double numberOf(const NumberOperand& operand, Machine& machine, SourcePos pos) {
    return operand.pending == nullptr ? operand.number : asNumber(*operand.pending, machine, pos);
}

// The operand as a Value again, for comparing; a number is written into scratch, which it did not use.
ZORVANT_HOT_INLINE const Value& valueOf(const NumberOperand& operand, Value& scratch) {
    if (operand.pending != nullptr)
        return *operand.pending;
    scratch.setNumber(operand.number);
    return scratch;
}

ZORVANT_HOT_INLINE bool truthOf(const NumberOperand& operand, Machine& machine, SourcePos pos) {
    return operand.pending == nullptr ? operand.number != 0 : isTrue(*operand.pending, machine, pos);
}

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

// Nodes whose value is always a number: evalRef and test follow from number().
struct NumericBinaryExpr : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    bool numeric() const override { return true; }
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        scratch.setNumber(number(machine));
        return scratch;
    }
    bool test(Machine& machine, SourcePos) const override { return number(machine) != 0; }
};

template <BinaryOp Op> struct ArithmeticExpr final : NumericBinaryExpr {
    using NumericBinaryExpr::NumericBinaryExpr;
    // Two numbers read without effects take the short way; anything else the full one.
    double number(Machine& machine) const override {
        const double* a = machine.peekNumber(leftOp);
        const double* b = a != nullptr ? machine.peekNumber(rightOp) : nullptr;
        if (b != nullptr)
            return arithmetic<Op>(*a, *b, pos);
        return fullNumber(machine);
    }
    ZORVANT_FULL_PATH double fullNumber(Machine& machine) const {
        Value leftScratch, rightScratch;
        const NumberOperand a = leftNumberOperand(*this, machine, leftScratch);
        const NumberOperand b = numberOperand(rightOp, machine, rightScratch);
        // The right operand is converted first: warnings keep the order runs have always listed them in.
        const double y = numberOf(b, machine, pos);
        const double x = numberOf(a, machine, pos);
        return arithmetic<Op>(x, y, pos);
    }
};

struct JoinExpr final : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    const Value& evalRef(Machine& machine, Value& scratch) const override {
        Value leftScratch, rightScratch;
        const Value& a = leftOperand(*this, machine, leftScratch);
        const Value& b = machine.operand(rightOp, rightScratch);
        std::string leftText, rightText;
        const std::string_view x = textView(a, leftText, pos);
        const std::string_view y = textView(b, rightText, pos);
        if (x.size() + y.size() > machine.limits().textLength)
            throw ScriptError(pos, "строка длиннее допустимого"_cp);
        // A text this node computed is grown where it lies, so that a chain of joins copies it once.
        std::string text;
        if (&a == &leftScratch && a.isText()) {
            text = leftScratch.takeText();
            text.append(y);
        } else if (x.empty() && &b == &rightScratch && b.isText()) {
            text = rightScratch.takeText();
        } else {
            text.reserve(x.size() + y.size());
            text.append(x).append(y);
        }
        scratch.setText(std::move(text));
        return scratch;
    }
};

int compareNumbers(double a, double b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// Byte by byte, as compareValues compares two texts; texts of different lengths are unequal at once.
template <BinaryOp Op> int compareTexts(const std::string& a, const std::string& b) {
    if constexpr (Op == BinaryOp::Equal || Op == BinaryOp::NotEqual)
        if (a.size() != b.size())
            return 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
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

template <BinaryOp Op> struct CompareExpr final : NumericBinaryExpr {
    using NumericBinaryExpr::NumericBinaryExpr;
    double number(Machine& machine) const override { return test(machine, pos) ? 1.0 : 0.0; }
    bool test(Machine& machine, SourcePos) const override {
        if (const double* a = machine.peekNumber(leftOp))
            if (const double* b = machine.peekNumber(rightOp))
                return holds<Op>(compareNumbers(*a, *b));
        if (const std::string* a = machine.peekText(leftOp))
            if (const std::string* b = machine.peekText(rightOp))
                return holds<Op>(compareTexts<Op>(*a, *b));
        return fullTest(machine);
    }
    ZORVANT_FULL_PATH bool fullTest(Machine& machine) const {
        Value leftScratch, rightScratch;
        const NumberOperand a = leftNumberOperand(*this, machine, leftScratch);
        const NumberOperand b = numberOperand(rightOp, machine, rightScratch);
        if (a.pending == nullptr && b.pending == nullptr)
            return holds<Op>(compareNumbers(a.number, b.number));
        return holds<Op>(compareValues(valueOf(a, leftScratch), valueOf(b, rightScratch), pos));
    }
};

// Both sides are always evaluated; the right one is converted only when the left does not settle it.
template <bool IsAnd> struct LogicExpr final : NumericBinaryExpr {
    using NumericBinaryExpr::NumericBinaryExpr;
    double number(Machine& machine) const override { return test(machine, pos) ? 1.0 : 0.0; }
    bool test(Machine& machine, SourcePos) const override {
        // Two numeric operands (comparisons, as a rule) give their truth at once; both are evaluated.
        if (leftOp.kind == Operand::Kind::Numeric && rightOp.kind == Operand::Kind::Numeric) {
            const bool x = left->test(machine, pos);
            const bool y = right->test(machine, pos);
            return IsAnd ? x && y : x || y;
        }
        return fullTest(machine);
    }
    ZORVANT_FULL_PATH bool fullTest(Machine& machine) const {
        Value leftScratch, rightScratch;
        const NumberOperand a = leftNumberOperand(*this, machine, leftScratch);
        const NumberOperand b = numberOperand(rightOp, machine, rightScratch);
        if constexpr (IsAnd)
            return truthOf(a, machine, pos) && truthOf(b, machine, pos);
        else
            return truthOf(a, machine, pos) || truthOf(b, machine, pos);
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
