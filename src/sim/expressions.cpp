#include "sim/ast.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

Value arithmetic(BinaryOp op, double a, double b, SourcePos pos) {
    switch (op) {
    case BinaryOp::Add:
        return checkedNumber(a + b, pos);
    case BinaryOp::Subtract:
        return checkedNumber(a - b, pos);
    case BinaryOp::Multiply:
        return checkedNumber(a * b, pos);
    default:
        if (b == 0)
            throw ScriptError(pos, "деление на ноль"_cp);
        return checkedNumber(a / b, pos);
    }
}

bool comparison(BinaryOp op, int c) {
    switch (op) {
    case BinaryOp::Equal:
        return c == 0;
    case BinaryOp::NotEqual:
        return c != 0;
    case BinaryOp::Less:
        return c < 0;
    case BinaryOp::LessEqual:
        return c <= 0;
    case BinaryOp::Greater:
        return c > 0;
    default:
        return c >= 0;
    }
}

} // namespace

Value ConstantExpr::eval(Machine&) const {
    return value;
}

Value VariableExpr::eval(Machine& machine) const {
    return machine.read(ref, pos);
}

const Value& VariableExpr::evalRef(Machine& machine, Value&) const {
    return machine.readRef(ref, pos);
}

Value NegateExpr::eval(Machine& machine) const {
    return -asNumber(operand->eval(machine), machine, pos);
}

// The left operand is taken in place only when the right one cannot change it.
Value BinaryExpr::eval(Machine& machine) const {
    Value leftScratch, rightScratch;
    const Value& a = rightIsPure ? left->evalRef(machine, leftScratch) : (leftScratch = left->eval(machine));
    const Value& b = right->evalRef(machine, rightScratch);
    if (a.isNumber() && b.isNumber() && op <= BinaryOp::Divide)
        return arithmetic(op, a.number(), b.number(), pos);
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
        return arithmetic(op, asNumber(a, machine, pos), asNumber(b, machine, pos), pos);
    case BinaryOp::Join: {
        std::string text = asText(a, pos);
        text += asText(b, pos);
        if (text.size() > machine.limits().textLength)
            throw ScriptError(pos, "строка длиннее допустимого"_cp);
        return Value(std::move(text));
    }
    case BinaryOp::And:
        return isTrue(a, machine, pos) && isTrue(b, machine, pos) ? 1.0 : 0.0;
    case BinaryOp::Or:
        return isTrue(a, machine, pos) || isTrue(b, machine, pos) ? 1.0 : 0.0;
    default:
        return comparison(op, compareValues(a, b, pos)) ? 1.0 : 0.0;
    }
}

Value CallExpr::eval(Machine& machine) const {
    if (builtin != nullptr)
        return machine.callBuiltin(*this);
    Value result = machine.callFunction(*this);
    if (!result.isUnset())
        return result;
    machine.warnings().add(pos, cat("функция "_cp, name, " не присвоила RESULT: взята пустая строка"_cp));
    return Value(std::string());
}

} // namespace zorvant::sim
