#pragma once
// The terminal's built-in functions that the simulator provides.
#include "sim/script_error.h"
#include "sim/value.h"

#include <span>
#include <string_view>

namespace zorvant::sim {

class Machine;

struct BuiltinCall {
    Machine& machine;
    std::span<Value> args;
    SourcePos pos;
};

using BuiltinFn = Value (*)(BuiltinCall& call);

struct Builtin {
    std::string_view name;
    int minArgs;
    int maxArgs;
    BuiltinFn fn;
};

inline constexpr int kMaxBuiltinArgs = 6;

// name in Latin upper case; nullptr when there is no such built-in.
const Builtin* findBuiltin(std::string_view name);

// The built-ins of each family, for the lookup table.
std::span<const Builtin> dataBuiltins();
std::span<const Builtin> textMathBuiltins();
std::span<const Builtin> terminalBuiltins();

} // namespace zorvant::sim
