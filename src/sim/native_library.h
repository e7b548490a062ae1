#pragma once
// The helper library's busiest FUNCs, run natively. The QPL text of each stays the reference: a native
// version gives the same RESULT, leaves the same values in the FUNC's variables (all of them global) and
// counts the same statements. It covers the usual way through the function and declines anything else
// (an argument of another kind, a text that is no number, a candle that is not there) before it has
// changed anything; the machine then runs the text as written.
#include "sim/value.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zorvant::sim {

class Terminal;
struct Script;

// What a native keeps from one call to the next within a machine: results it may give again, and the
// values its last call left for the FUNC's variables when it may write them later.
class NativeMemory {
public:
    virtual ~NativeMemory() = default;
    // Writes what the native left pending into the variables, in the order of NativeCall::slots.
    virtual void flush(std::span<Value> /*globals*/, const int* /*slots*/) {}
};

struct NativeCall {
    std::span<const Value* const> args;
    Terminal& terminal;
    // The script's variables, and the slots of those the FUNC assigns, in the order its native lists them.
    std::span<Value> globals;
    const int* slots;
    NativeMemory* memory;
    // Statements and loop rounds the machine may still run, and the longest text it may make.
    std::uint64_t stepsLeft;
    std::size_t textLength;
    // Whether the native may leave the FUNC's variables for its memory's flush, which the machine calls
    // before anything can read them.
    bool mayDefer;

    // Set by a native that did its work: what the text would have returned and counted, and whether it
    // left its variables pending.
    Value result;
    std::uint64_t steps = 0;
    bool deferred = false;

    Value& variable(int which) { return globals[static_cast<std::size_t>(slots[which])]; }
};

// True when the call was done; false, with nothing changed, when the machine must run the text.
using NativeFn = bool (*)(NativeCall& call);

struct NativeFunction {
    NativeFn fn = nullptr;
    std::vector<int> slots;
    std::unique_ptr<NativeMemory> memory;
    // No code but the FUNC's own names its variables: only its text, run when the native declines, and
    // whoever looks after the recalculation can read them.
    bool mayDefer = false;
    // Its memory holds writes not made yet.
    bool pending = false;
};

// One entry per FUNC of the script, in order: a native version where the FUNC, and every FUNC it
// calls, is the helper library's own unchanged; an empty entry otherwise.
std::vector<NativeFunction> nativeFunctions(const Script& script);

} // namespace zorvant::sim
