#pragma once
// Runs a compiled script: one call of recalculate() is one recalculation of the portfolio. Ordinary
// variables start unassigned each time; NEW_GLOBAL variables and the output table persist.
#include "sim/native_library.h"
#include "sim/operator_rules.h"
#include "sim/program.h"
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

    void newGlobal(std::string_view name, Value initial, SourcePos pos);
    // A global's value by name (any case), for tests and tools; nullptr when it has none.
    const Value* global(std::string_view name) const;

    // Whether FUNCs of the helper library may run natively (they may by default); without, every FUNC
    // runs as written, which is what the native versions are held to.
    void useNativeLibrary(bool use) { nativeLibrary_ = use; }

    // Statements and loop rounds run by the last recalculation.
    std::uint64_t steps() const { return steps_; }
    Warnings& warnings() { return warnings_; }
    Terminal& terminal() { return terminal_; }
    const Limits& limits() const { return limits_; }
    const Script& script() const { return script_; }

private:
    // The body's frame, then one per FUNC call: its parameters and temporaries on stack_.
    struct Frame {
        std::size_t params;
        std::size_t temps;
        Value result;
        // How deep in expressions the calls up to this one stand, for the stack check.
        int depth;
    };

    // machine.cpp
    void run(const Code& code);
    void step(SourcePos pos) {
        if (++steps_ > limits_.steps)
            failSteps(pos);
    }
    [[noreturn]] void failSteps(SourcePos pos) const;
    const Value& readUnset(const Arg& arg);
    int slotOfName(std::string_view upperName);

    // Where each area of operands starts for the running frame; set again after a call, which may
    // have moved the stack or the globals.
    struct Registers {
        Value* at[kAreas];
    };
    void loadRegisters(Registers& r, const Code& code);

    // An operand's value in place, with the unset warning for a variable read before assignment.
    const Value& read(const Registers& r, const Arg& arg) {
        const Value& value = r.at[static_cast<int>(arg.area)][arg.index];
        return value.isUnset() ? readUnset(arg) : value;
    }
    Value& place(const Registers& r, const Arg& arg) { return r.at[static_cast<int>(arg.area)][arg.index]; }
    // A temporary is consumed by the instruction that reads it.
    void release(const Registers& r, const Arg& arg) {
        if (arg.area == Area::Temp)
            place(r, arg).clear();
    }
    void store(const Registers& r, const Arg& dst, Value&& value) {
        if (dst.area != Area::None)
            place(r, dst) = std::move(value);
    }

    // A comparison: two numbers that operands hold as they stand are compared at once; anything else
    // (a text, an unset variable, a value to convert) takes the full way.
    bool holdsBetween(const Registers& r, const Instr& in, Op test) {
        const Value& x = place(r, in.a);
        const Value& y = place(r, in.b);
        if (x.isNumber() && y.isNumber())
            return holds(test, compareNumbers(x.number(), y.number()));
        return compare(r, in, test);
    }

    // GET_VALUE of a map and a text key that operands hold as they stand, with no other effect; nullptr
    // when the key is missing or anything needs the full way (getValue).
    const Value* peekValue(const Registers& r, const Instr& in) {
        const Value& map = place(r, in.a);
        const Value& key = place(r, in.b);
        if (!map.isMap() || !key.isText() || in.dst.area == Area::None)
            return nullptr;
        return map.map()->find(key.text());
    }

    // run_operators.cpp
    void arithmetic(const Registers& r, const Instr& in);
    void join(const Registers& r, const Instr& in);
    bool compare(const Registers& r, const Instr& in, Op test);
    void logic(const Registers& r, const Instr& in);
    void negate(const Registers& r, const Instr& in);
    bool truth(const Value& value, SourcePos pos);

    // run_calls.cpp
    void getValue(const Registers& r, const Instr& in);
    void collectionCount(const Registers& r, const Instr& in);
    void collectionItem(const Registers& r, const Instr& in);
    void callBuiltin(const Registers& r, const Instr& in, const Arg* args);
    void update(const Registers& r, const Instr& in, const Arg* args);
    void updateMap(const Registers& r, const Instr& in, const Arg* args, Value& target);
    void enterCall(const Instr& in);
    void callFunction(Registers& r, const Code& caller, const Instr& in, const Arg* args);
    bool runNative(const Registers& r, const Instr& in, const Arg* args, std::size_t function);
    // Writes the variables natives left pending, before code that may read them runs.
    void flushNatives();
    std::uintptr_t stackPosition() const;

    // run_loops.cpp
    void forNumber(const Registers& r, const Instr& in);
    bool forRound(const Registers& r, const Instr& in);
    bool forInStart(const Registers& r, const Instr& in);
    bool forInRound(const Registers& r, const Instr& in);

    const Script& script_;
    Terminal& terminal_;
    Limits limits_;
    std::vector<Value> globals_;
    std::vector<char> persistent_;
    std::vector<int> persistentSlots_;
    // Where their values wait while the others are dropped.
    std::vector<Value> kept_;
    // The slot of every global by name: the script's own, then those NEW_GLOBAL names by a text.
    std::unordered_map<std::string, int> slots_;
    // The name NEW_GLOBAL was last given, as written, and its slot.
    struct NamedSlot {
        std::string name;
        int slot = -1;
    } lastNewGlobal_;
    std::vector<Value> stack_;
    std::vector<Frame> frames_;
    // Per FUNC of the script: its native version, if any.
    std::vector<NativeFunction> natives_;
    // The FUNCs whose natives hold pending writes, and the slots such writes may go to.
    std::vector<std::size_t> pendingNatives_;
    std::vector<char> deferrable_;
    bool nativeLibrary_ = true;
    std::uint64_t steps_ = 0;
    // Where the stack stood when the recalculation began.
    std::uintptr_t stackBase_ = 0;
    Warnings warnings_;
};

} // namespace zorvant::sim
