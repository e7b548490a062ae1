#include "sim/ast.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

// The index of the last argument that calls something, or 0 when none does.
std::size_t lastImpure(const std::vector<ExprPtr>& args) {
    for (std::size_t i = args.size(); i-- > 0;)
        if (!args[i]->isPure())
            return i;
    return 0;
}

} // namespace

Operand::Operand(const Expr& expr)
    : kind(dynamic_cast<const ConstantExpr*>(&expr)   ? Kind::Constant
           : dynamic_cast<const VariableExpr*>(&expr) ? Kind::Variable
           : expr.numeric()                           ? Kind::Numeric
                                                      : Kind::Computed),
      node(&expr) {}

double Expr::number(Machine& machine) const {
    Value scratch;
    return evalRef(machine, scratch).number();
}

bool Expr::test(Machine& machine, SourcePos convertPos) const {
    Value scratch;
    const Value& value = evalRef(machine, scratch);
    return value.isNumber() ? value.number() != 0 : isTrue(value, machine, convertPos);
}

const Value& VariableExpr::evalRef(Machine& machine, Value&) const {
    return machine.readRef(ref, pos);
}

double NegateExpr::number(Machine& machine) const {
    if (operandOp.kind == Operand::Kind::Numeric)
        return -operand->number(machine);
    Value scratch;
    const Value& value = machine.operand(operandOp, scratch);
    return -(value.isNumber() ? value.number() : asNumber(value, machine, pos));
}

const Value& NegateExpr::evalRef(Machine& machine, Value& scratch) const {
    scratch.setNumber(number(machine));
    return scratch;
}

CallExpr::CallExpr(SourcePos p, std::string n, std::vector<ExprPtr> a)
    : Expr(p), name(std::move(n)), args(std::move(a)), firstInPlace(lastImpure(args)) {
    operands.reserve(args.size());
    for (const ExprPtr& arg : args)
        operands.emplace_back(*arg);
}

const Value& CallExpr::evalRef(Machine& machine, Value& scratch) const {
    if (inPlace != nullptr)
        return inPlace(machine, *this, scratch);
    if (builtin != nullptr)
        return machine.callBuiltin(*this, scratch);
    scratch = machine.callFunction(*this);
    if (!scratch.isUnset())
        return scratch;
    machine.warnings().add(pos, cat("функция "_cp, name, " не присвоила RESULT: взята пустая строка"_cp));
    scratch = Value(std::string());
    return scratch;
}

} // namespace zorvant::sim
