#pragma once
// Compiles one body (the script's or a FUNC's) into Code. Evaluation keeps the order of the tree it
// comes from: operands left to right, each with its warnings at its own turn, calls before the
// operator that uses them. An operand read later than its turn is checked at its turn, or copied then
// when the code in between could change it.
#include "sim/program.h"
#include "sim/script.h"

#include <vector>

namespace zorvant::sim {

bool isLeaf(const Expr& expr);
bool changesNothing(const Expr& expr);
Op compareOp(BinaryOp op);

class Compiler {
public:
    Compiler(const Script& script, Code& code) : script_(script), code_(code) {}

    void block(const Block& block);
    // Ends the code: every RETURN jumps here.
    void finish();

private:
    struct Loop {
        std::vector<int> breaks;
        std::vector<int> continues;
    };

    // Statements (compile_statements.cpp).
    void statement(const Stmt& stmt);
    void assign(const AssignStmt& stmt);
    void update(const CallExpr& call, const Arg& target);
    void callStatement(const CallExpr& call);
    void ifStatement(const IfStmt& stmt);
    // Compiles an IF's condition; returns the jump taken when it does not hold.
    int condition(const Expr& expr);
    void forRange(const ForRangeStmt& stmt);
    void forIn(const ForInStmt& stmt);
    void jump(const JumpStmt& stmt);
    void loopBody(const Block& body, int round);

    // Expressions (compile_expressions.cpp). value() leaves an expression's value in the Arg it gives:
    // a constant or variable as it stands, anything else computed into into, or a temporary.
    Arg value(const Expr& expr, const Arg* into, int depth);
    Arg call(const CallExpr& call, const Arg* into, int depth, bool valueUsed);
    // Compiles the arguments of a call into the code's argument list; returns where they start. With
    // targetFirst the first one is the variable as it stands, never evaluated by itself.
    int arguments(const CallExpr& call, int depth, bool targetFirst = false);
    Arg inOrder(Arg operand, bool codeFollows, bool changeFollows);
    Arg variable(const VarRef& ref, const Expr* node) const;
    Arg temp();

    int emit(Instr instr);
    void patch(int instr, int target) { code_.instrs[instr].target = target; }
    int here() const { return static_cast<int>(code_.instrs.size()); }

    const Script& script_;
    Code& code_;
    std::vector<Loop> loops_;
    std::vector<int> returns_;
    int tempTop_ = 0;
    // The next instruction emitted starts a statement.
    bool stepPending_ = false;
    SourcePos stepPos_;
};

} // namespace zorvant::sim
