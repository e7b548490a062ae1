#pragma once
// Runs a parsed script: one call of recalculate() is one recalculation of the portfolio. Ordinary
// variables start unassigned each time; NEW_GLOBAL variables and the output table persist.
#include "sim/hot_path.h"
#include "sim/script.h"
#include "sim/terminal.h"
#include "sim/warnings.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorvant::sim {

struct Limits {
    // Statements and loop rounds per recalculation.
    std::uint64_t steps = 20'000'000;
    int callDepth = 200;
    std::size_t textLength = 1'000'000;
    std::size_t items = 1'000'000;
};

class Machine {
public:
    Machine(const Script& script, Terminal& terminal, Limits limits = {});

    // Throws ScriptError on a fault of the script, with its place.
    void recalculate();

    // For the expression and statement nodes.
    // The variable's value in place; valid until the next statement or call runs.
    ZORVANT_HOT_INLINE const Value& readRef(const VarRef& ref, SourcePos pos) {
        const Value& value = slot(ref);
        return value.isUnset() ? readUnset(ref, pos) : value;
    }
    // An operand's value: a constant or a variable in place, anything else computed into scratch.
    ZORVANT_HOT_INLINE const Value& operand(const Operand& op, Value& scratch) {
        switch (op.kind) {
        case Operand::Kind::Constant:
            return static_cast<const ConstantExpr*>(op.node)->value;
        case Operand::Kind::Variable: {
            const auto* variable = static_cast<const VariableExpr*>(op.node);
            return readRef(variable->ref, variable->pos);
        }
        default:
            return op.node->evalRef(*this, scratch);
        }
    }
    // A number that a constant or an assigned variable holds, read without any other effect; nullptr for
    // anything else (an operand to compute, an unset variable, a text), which then takes the full way.
    ZORVANT_HOT_INLINE const double* peekNumber(const Operand& op) {
        const Value* value;
        if (op.kind == Operand::Kind::Constant)
            value = &static_cast<const ConstantExpr*>(op.node)->value;
        else if (op.kind == Operand::Kind::Variable)
            value = &slot(static_cast<const VariableExpr*>(op.node)->ref);
        else
            return nullptr;
        return value->isNumber() ? value->numberRef() : nullptr;
    }
    // Likewise a text that a constant or an assigned variable holds.
    ZORVANT_HOT_INLINE const std::string* peekText(const Operand& op) {
        const Value* value;
        if (op.kind == Operand::Kind::Constant)
            value = &static_cast<const ConstantExpr*>(op.node)->value;
        else if (op.kind == Operand::Kind::Variable)
            value = &slot(static_cast<const VariableExpr*>(op.node)->ref);
        else
            return nullptr;
        return value->isText() ? &value->text() : nullptr;
    }
    // An operand's value as one of its own.
    Value operandValue(const Operand& op) {
        Value scratch;
        const Value& value = operand(op, scratch);
        if (&value == &scratch)
            return scratch;
        return value;
    }
    // Inline: every variable read and assignment goes through here.
    ZORVANT_HOT_INLINE Value& slot(const VarRef& ref) {
        switch (ref.scope) {
        case VarRef::Scope::Param:
            return stack_[frames_.back().base + ref.index];
        case VarRef::Scope::Result:
            return frames_.back().result;
        default:
            return globals_[ref.index];
        }
    }
    void step(SourcePos pos) {
        if (++steps_ > limits_.steps)
            failSteps(pos);
    }
    // The result of a FUNC call; Unset when the FUNC never assigned RESULT.
    Value callFunction(const CallExpr& call);
    // The built-in's result, written to result. With takeFirst, the first argument is moved out of that
    // variable instead of evaluated, so that a map or collection that only it holds is changed in place
    // ("m = SET_VALUE(m, ...)").
    const Value& callBuiltin(const CallExpr& call, Value& result, const VarRef* takeFirst = nullptr);

    void newGlobal(std::string_view name, Value initial, SourcePos pos);
    // A global's value by name (any case), for tests and tools; nullptr when it has none.
    const Value* global(std::string_view name) const;

    // Statements and loop rounds run by the last recalculation.
    std::uint64_t steps() const { return steps_; }
    Warnings& warnings() { return warnings_; }
    Terminal& terminal() { return terminal_; }
    const Limits& limits() const { return limits_; }
    const Script& script() const { return script_; }

private:
    struct Frame {
        std::size_t base;
        Value result;
    };

    [[noreturn]] void failSteps(SourcePos pos) const;
    const Value& readUnset(const VarRef& ref, SourcePos pos);
    void takeFirstArgument(const CallExpr& call, const VarRef& ref, Value* owned, const Value** args,
                           std::size_t count);
    int slotOfName(std::string_view upperName);

    const Script& script_;
    Terminal& terminal_;
    Limits limits_;
    std::vector<Value> globals_;
    std::vector<char> persistent_;
    // The slot of every global by name: the script's own, then those NEW_GLOBAL names by a text.
    std::unordered_map<std::string, int> slots_;
    std::vector<Value> stack_;
    std::vector<Frame> frames_;
    std::uint64_t steps_ = 0;
    // Where the stack stood when the recalculation began.
    std::uintptr_t stackBase_ = 0;
    Warnings warnings_;
};

} // namespace zorvant::sim
