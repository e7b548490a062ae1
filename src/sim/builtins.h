#pragma once
// The terminal's built-in functions that the simulator provides.
#include "sim/ast.h"

#include <span>
#include <string_view>

namespace zorvant::sim {

class Machine;

// The arguments are read in place where they are a variable or a constant; owned[i] is set where
// argument i was computed for the call, which a built-in may then take over.
struct BuiltinCall {
    Machine& machine;
    std::span<const Value* const> args;
    std::span<Value* const> owned;
    SourcePos pos;

    std::size_t count() const { return args.size(); }
    const Value& arg(std::size_t i) const { return *args[i]; }
    bool owns(std::size_t i) const { return owned[i] != nullptr; }
    // The argument as a value of its own: moved out when the call computed it, copied otherwise.
    Value take(std::size_t i) const { return owns(i) ? std::move(*owned[i]) : arg(i); }
};

using BuiltinFn = Value (*)(BuiltinCall& call);

struct Builtin {
    std::string_view name;
    int minArgs;
    int maxArgs;
    BuiltinFn fn;
};

// No built-in takes more, so a call's arguments fit in small arrays on the stack.
inline constexpr int kMaxBuiltinArgs = 3;

constexpr bool fitsArgs(std::span<const Builtin> family) {
    for (const Builtin& b : family)
        if (b.maxArgs > kMaxBuiltinArgs)
            return false;
    return true;
}

// name in Latin upper case; nullptr when there is no such built-in.
const Builtin* findBuiltin(std::string_view name);

// The built-ins of each family, for the lookup table.
std::span<const Builtin> dataBuiltins();
std::span<const Builtin> textMathBuiltins();
std::span<const Builtin> terminalBuiltins();

} // namespace zorvant::sim
