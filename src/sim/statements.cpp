#include "sim/ast.h"
#include "sim/builtins.h"
#include "sim/conversions.h"
#include "sim/machine.h"
#include "sim/operations.h"

#include <algorithm>
#include <iterator>

namespace zorvant::sim {

Flow execBlock(const Block& block, Machine& machine) {
    for (const StmtPtr& stmt : block) {
        const Flow flow = stmt->exec(machine);
        if (flow != Flow::Next)
            return flow;
    }
    return Flow::Next;
}

namespace {

const CallExpr* callUpdating(const VarRef& target, const Expr& value) {
    const auto* call = dynamic_cast<const CallExpr*>(&value);
    if (call == nullptr || call->args.empty())
        return nullptr;
    static constexpr std::string_view updating[] = {"SET_VALUE", "INSERT_COLLECTION_ITEM",
                                                    "SET_COLLECTION_ITEM", "REMOVE_COLLECTION_ITEM"};
    if (std::find(std::begin(updating), std::end(updating), call->name) == std::end(updating))
        return nullptr;
    const auto* first = dynamic_cast<const VariableExpr*>(call->args[0].get());
    if (first == nullptr || first->ref.scope != target.scope || first->ref.index != target.index)
        return nullptr;
    return call;
}

} // namespace

AssignStmt::AssignStmt(SourcePos p, VarRef t, ExprPtr v)
    : Stmt(p), target(std::move(t)), value(std::move(v)), valueOp(*value),
      updatesTarget(callUpdating(target, *value)) {}

// The slot is looked up after the value is computed: a NEW_GLOBAL on the way may move the variables.
Flow AssignStmt::exec(Machine& machine) const {
    machine.step(pos);
    switch (valueOp.kind) {
    case Operand::Kind::Numeric: {
        const double number = value->number(machine);
        machine.slot(target).setNumber(number);
        return Flow::Next;
    }
    case Operand::Kind::Computed:
        return assignComputed(machine);
    default: {
        Value unused;
        const Value& v = machine.operand(valueOp, unused);
        machine.slot(target) = v;
        return Flow::Next;
    }
    }
}

Flow AssignStmt::assignComputed(Machine& machine) const {
    Value scratch;
    if (updatesTarget != nullptr && updatesTarget->builtin != nullptr && !machine.slot(target).isUnset()) {
        if (updatesTarget->updateTarget != nullptr) {
            updatesTarget->updateTarget(machine, *updatesTarget, target);
            return Flow::Next;
        }
        machine.callBuiltin(*updatesTarget, scratch, &target);
        machine.slot(target) = std::move(scratch);
        return Flow::Next;
    }
    const Value& v = value->evalRef(machine, scratch);
    if (&v == &scratch)
        machine.slot(target) = std::move(scratch);
    else
        machine.slot(target) = v; // copied before the target lets go of a map that may hold v
    return Flow::Next;
}

Flow CallStmt::exec(Machine& machine) const {
    machine.step(pos);
    const auto& c = static_cast<const CallExpr&>(*call);
    if (c.builtin != nullptr) {
        Value ignored;
        machine.callBuiltin(c, ignored);
    } else {
        machine.callFunction(c);
    }
    return Flow::Next;
}

Flow IfStmt::exec(Machine& machine) const {
    machine.step(pos);
    return execBlock(condition->test(machine, condition->pos) ? then : otherwise, machine);
}

// The loop variable takes each value in turn; changing it inside the body does not change the count.
Flow ForRangeStmt::exec(Machine& machine) const {
    machine.step(pos);
    Value scratch;
    const double first = asNumber(from->evalRef(machine, scratch), machine, from->pos);
    const double last = asNumber(to->evalRef(machine, scratch), machine, to->pos);
    for (double i = first; i <= last; i += 1) {
        machine.step(pos);
        machine.slot(variable).setNumber(i);
        const Flow flow = execBlock(body, machine);
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Return)
            return flow;
    }
    return Flow::Next;
}

// Items are the comma-separated parts of the text, spaces around them removed.
Flow ForInStmt::exec(Machine& machine) const {
    machine.step(pos);
    const std::string text = asText(list->eval(machine), list->pos);
    if (text.empty())
        return Flow::Next;
    std::size_t start = 0;
    while (start <= text.size()) {
        machine.step(pos);
        const std::size_t end = std::min(text.find(',', start), text.size());
        std::string item = text.substr(start, end - start);
        item.erase(0, item.find_first_not_of(' '));
        item.erase(item.find_last_not_of(' ') + 1);
        machine.slot(variable) = Value(std::move(item));
        const Flow flow = execBlock(body, machine);
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Return)
            return flow;
        start = end + 1;
    }
    return Flow::Next;
}

Flow JumpStmt::exec(Machine& machine) const {
    machine.step(pos);
    return flow;
}

} // namespace zorvant::sim
