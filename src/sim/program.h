#pragma once
// A script as the machine runs it: the body and each FUNC as a list of instructions, compiled once
// when the script is read. Every operand is settled then: a constant, a variable, or a temporary of the
// running frame; a FUNC or built-in is called through what it resolved to.
#include "sim/script_error.h"
#include "sim/value.h"

#include <vector>

namespace zorvant::sim {

struct Expr;
struct CallExpr;
struct Script;

// Where an operand lies; a running frame holds the start of each area (Machine::Registers).
enum class Area : unsigned char { None, Constant, Global, Param, Result, Temp };
inline constexpr int kAreas = 6;

struct Arg {
    Area area = Area::None;
    // A variable read without its unset warning: it was checked where it stands in the expression,
    // so that warnings keep the order of the text.
    bool checked = false;
    int index = 0;
    // The variable's node (its name and place, for the unset warning), or the constant's.
    const Expr* node = nullptr;

    bool isVariable() const { return area == Area::Global || area == Area::Param || area == Area::Result; }
};

inline Arg makeArg(Area area, int index, const Expr* node = nullptr) {
    Arg arg;
    arg.area = area;
    arg.index = index;
    arg.node = node;
    return arg;
}

enum class Op : unsigned char {
    // dst = a (a temporary is moved), or only read a (Check: its unset warning, in order).
    Move,
    Check,
    // dst = a op b.
    Add,
    Subtract,
    Multiply,
    Divide,
    Join,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    And,
    Or,
    Negate,
    Jump,
    // Jump to target unless a is true; a text is converted with its warning at pos.
    JumpUnless,
    // Jump to target unless the comparison test holds between a and b.
    JumpUnlessCompare,
    // Jump to target when the variable a is unset (the start of x = F(x, ...)).
    JumpIfUnset,
    // The built-ins generated scripts call most, and the others through their table.
    GetValue,
    CreateMap,
    CollectionCount,
    CollectionItem,
    Floor,
    CallBuiltin,
    // dst = F(dst, args...) done on dst itself; with target >= 0 only after JumpIfUnset chose it.
    // SetValueOf is dst = SET_VALUE(dst, key, value).
    Update,
    SetValueOf,
    // The call depth and stack checks of a FUNC call, made before its arguments are evaluated.
    EnterCall,
    CallFunction,
    // FOR x FROM a TO b: the ends into temporaries, then a round per number.
    ForFrom,
    ForTo,
    ForRound,
    ForNext,
    // FOR x IN a: the text into a temporary, then a round per item.
    ForInStart,
    ForInRound,
    ForInNext,
    Return,
};

struct Instr {
    Op op = Op::Return;
    // A statement or a loop round starts here: it counts against the step limit before any work.
    bool step = false;
    SourcePos stepPos;
    // Where faults and conversion warnings of the instruction itself are reported.
    SourcePos pos;
    Arg dst;
    Arg a;
    Arg b;
    // A jump's destination; a loop's first temporary.
    int target = 0;
    // Arguments of a call: Code::args[args .. args + argCount).
    int args = 0;
    int argCount = 0;
    const CallExpr* call = nullptr;
    // How deep in its expression a FUNC call stands (EnterCall), for the stack check.
    int depth = 0;
    // A FUNC called as a statement gives no warning for a RESULT it never assigned.
    bool valueUsed = false;
    // The comparison of JumpUnlessCompare (Equal ... GreaterEqual).
    Op test = Op::Equal;
};

inline Instr makeInstr(Op op, SourcePos pos = {}, const Arg& dst = {}, const Arg& a = {}, const Arg& b = {}) {
    Instr instr;
    instr.op = op;
    instr.pos = pos;
    instr.dst = dst;
    instr.a = a;
    instr.b = b;
    return instr;
}

struct Code {
    std::vector<Instr> instrs;
    std::vector<Arg> args;
    std::vector<Value> constants;
    // Temporaries a frame of this code needs.
    int temps = 0;
};

struct Program {
    Code body;
    // In the order of Script::functions.
    std::vector<Code> functions;
};

// Compiles a script whose calls are resolved (see parseBody).
Program compileProgram(const Script& script);

} // namespace zorvant::sim
