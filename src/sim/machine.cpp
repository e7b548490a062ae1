#include "sim/machine.h"

#include "sim/builtins.h"
#include "sim/conversions.h"
#include "sim/join.h"
#include "text/cp1251.h"

#include <array>
#include <cstdint>
#ifdef _MSC_VER
#include <intrin.h>
#endif

namespace zorvant::sim {
namespace {

using namespace text::literals;

// Drops the values above size; unlike resize, the common drop of a number or two stays inline.
void truncate(std::vector<Value>& values, std::size_t size) {
    while (values.size() > size)
        values.pop_back();
}

// How much of the thread's stack nested calls may take: a script cannot go deeper than its call depth
// allows, but every call may also hold a deep expression, and the two together must not exhaust the
// stack (8 MB on Linux, 1 MB on Windows, larger frames under the sanitizers).
#ifdef _WIN32
constexpr std::uintptr_t kStackBudget = 384 * 1024;
#else
constexpr std::uintptr_t kStackBudget = 3 * 1024 * 1024;
#endif

std::uintptr_t stackPosition() {
#ifdef _MSC_VER
    return reinterpret_cast<std::uintptr_t>(_AddressOfReturnAddress());
#else
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
#endif
}

} // namespace

Machine::Machine(const Script& script, Terminal& terminal, Limits limits)
    : script_(script), terminal_(terminal), limits_(limits), globals_(script.globals.size()),
      persistent_(script.globals.size(), 0) {
    // Parameters live on one stack that never reallocates, so references into it stay valid.
    stack_.reserve(static_cast<std::size_t>(limits_.callDepth + 1) * (script.maxParams + 1));
    frames_.reserve(limits_.callDepth + 1);
    for (std::size_t i = 0; i < script.globals.size(); ++i)
        slots_.emplace(script.globals[i], static_cast<int>(i));
}

void Machine::recalculate() {
    for (std::size_t i = 0; i < globals_.size(); ++i)
        if (!persistent_[i])
            globals_[i] = Value();
    stack_.clear();
    frames_.clear();
    steps_ = 0;
    stackBase_ = stackPosition();
    execBlock(script_.body, *this);
}

const Value& Machine::readUnset(const VarRef& ref, SourcePos pos) {
    warnings_.add(pos, cat("переменная "_cp, ref.name, " прочитана до присваивания: взята пустая строка"_cp));
    static const Value empty{std::string()};
    return empty;
}

void Machine::failSteps(SourcePos pos) const {
    throw ScriptError(pos, cat("пересчёт не уложился в "_cp, std::to_string(limits_.steps),
                               " шагов: похоже на бесконечный цикл"_cp));
}

Value Machine::callFunction(const CallExpr& call) {
    const Function& fn = script_.functions[call.function];
    if (frames_.size() >= static_cast<std::size_t>(limits_.callDepth))
        throw ScriptError(call.pos, cat("вложенность вызовов больше "_cp, std::to_string(limits_.callDepth),
                                        ": похоже на бесконечную рекурсию в "_cp, fn.name));
    // The stack grows downwards on every platform the program runs on.
    if (stackBase_ - stackPosition() > kStackBudget)
        throw ScriptError(call.pos, cat("вызовы вложены слишком глубоко для стека: "_cp, fn.name));
    const std::size_t base = stack_.size();
    for (const Operand& arg : call.operands) {
        Value v = operandValue(arg);
        stack_.push_back(std::move(v));
    }
    frames_.push_back({base, Value()});
    execBlock(fn.body, *this);
    Value result = std::move(frames_.back().result);
    frames_.pop_back();
    truncate(stack_, base);
    return result;
}

// Variables and constants are read in place; an argument read before one that calls something is
// copied, since that call could change the variable.
const Value& Machine::callBuiltin(const CallExpr& call, Value& result, const VarRef* takeFirst) {
    const std::size_t count = call.args.size();
    Value owned[kMaxBuiltinArgs];
    const Value* args[kMaxBuiltinArgs];
    for (std::size_t i = takeFirst != nullptr ? 1 : 0; i < count; ++i) {
        const Value& value = operand(call.operands[i], owned[i]);
        if (&value != &owned[i] && i < call.firstInPlace) {
            owned[i] = value;
            args[i] = &owned[i];
        } else {
            args[i] = &value;
        }
    }
    if (takeFirst != nullptr)
        takeFirstArgument(call, *takeFirst, owned, args, count);
    BuiltinCall context{*this, {args, count}, {owned, count}, call.pos};
    result = call.builtin->fn(context);
    return result;
}

// The other arguments that read the variable, or may read inside its map, keep a copy of what they read:
// the map may now be changed in place.
void Machine::takeFirstArgument(const CallExpr& call, const VarRef& ref, Value* owned, const Value** args,
                                std::size_t count) {
    Value& target = slot(ref);
    for (std::size_t i = 1; i < count; ++i)
        if (args[i] == &target ||
            (args[i] != &owned[i] && call.operands[i].kind == Operand::Kind::Computed)) {
            owned[i] = *args[i];
            args[i] = &owned[i];
        }
    owned[0] = std::move(target);
    args[0] = &owned[0];
}

int Machine::slotOfName(std::string_view upperName) {
    const auto [it, added] = slots_.try_emplace(std::string(upperName), static_cast<int>(globals_.size()));
    if (added) {
        globals_.emplace_back();
        persistent_.push_back(0);
    }
    return it->second;
}

void Machine::newGlobal(std::string_view name, Value initial, SourcePos pos) {
    const std::string upper = upperCaseLatin(name);
    if (upper.empty())
        throw ScriptError(pos, "NEW_GLOBAL без имени переменной"_cp);
    const int slot = slotOfName(upper);
    if (persistent_[slot])
        return;
    persistent_[slot] = 1;
    globals_[slot] = std::move(initial);
}

const Value* Machine::global(std::string_view name) const {
    const auto it = slots_.find(upperCaseLatin(name));
    if (it == slots_.end())
        return nullptr;
    const Value& value = globals_[it->second];
    return value.isUnset() ? nullptr : &value;
}

} // namespace zorvant::sim
