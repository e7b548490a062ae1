#pragma once
// The parsed form of a script: expressions and statements whose variable names are already resolved
// to slots, so that running a statement looks nothing up by name.
#include "sim/script_error.h"
#include "sim/value.h"

#include <memory>
#include <string>
#include <vector>

namespace zorvant::sim {

class Machine;
struct Builtin;

// Every variable is global except a function's parameters and its RESULT.
struct VarRef {
    enum class Scope { Global, Param, Result };
    Scope scope = Scope::Global;
    int index = 0;
    std::string name;
};

struct Expr {
    explicit Expr(SourcePos p) : pos(p) {}
    virtual ~Expr() = default;
    // The value in place where the node holds one (a constant, a variable), otherwise computed into
    // scratch. A variable's value is valid only until the next call or statement runs.
    virtual const Value& evalRef(Machine& machine, Value& scratch) const = 0;
    // The value as one of its own.
    Value eval(Machine& machine) const {
        Value scratch;
        const Value& value = evalRef(machine, scratch);
        if (&value == &scratch)
            return scratch;
        return value;
    }
    // True when evaluating runs nothing that could change a variable.
    virtual bool isPure() const { return false; }
    // Nodes whose value is always a number (arithmetic, comparisons, AND, OR, a minus sign) give it
    // without a Value on the way; number() may be called only when numeric() is true.
    virtual bool numeric() const { return false; }
    virtual double number(Machine& machine) const;
    // Whether the value counts as true (a number other than 0); a text is converted with its warning at
    // convertPos.
    virtual bool test(Machine& machine, SourcePos convertPos) const;
    SourcePos pos;
};
using ExprPtr = std::unique_ptr<Expr>;

struct ConstantExpr : Expr {
    ConstantExpr(SourcePos p, Value v) : Expr(p), value(std::move(v)) {}
    const Value& evalRef(Machine&, Value&) const override { return value; }
    bool isPure() const override { return true; }
    Value value;
};

struct VariableExpr : Expr {
    VariableExpr(SourcePos p, VarRef r) : Expr(p), ref(std::move(r)) {}
    const Value& evalRef(Machine& machine, Value& scratch) const override;
    bool isPure() const override { return true; }
    VarRef ref;
};

// How a node reads one of its operands, settled when the script is read: a constant or a variable in
// place, anything else by evaluating it (Machine::operand).
struct Operand {
    enum class Kind : unsigned char { Constant, Variable, Numeric, Computed };
    explicit Operand(const Expr& expr);
    Kind kind;
    const Expr* node;
};

struct NegateExpr : Expr {
    NegateExpr(SourcePos p, ExprPtr o) : Expr(p), operand(std::move(o)), operandOp(*operand) {}
    const Value& evalRef(Machine& machine, Value& scratch) const override;
    bool isPure() const override { return operand->isPure(); }
    bool numeric() const override { return true; }
    double number(Machine& machine) const override;
    bool test(Machine& machine, SourcePos) const override { return number(machine) != 0; }
    ExprPtr operand;
    Operand operandOp;
};

enum class BinaryOp {
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
    Or
};

// Both operands are always evaluated, the left one first. Each operator is a node type of its own
// (operators.cpp), so that evaluating one asks nothing about which it is.
struct BinaryExpr : Expr {
    BinaryExpr(SourcePos p, BinaryOp o, ExprPtr l, ExprPtr r)
        : Expr(p), op(o), left(std::move(l)), right(std::move(r)), leftOp(*left), rightOp(*right),
          rightIsPure(right->isPure()) {}
    bool isPure() const override { return left->isPure() && rightIsPure; }
    BinaryOp op;
    ExprPtr left;
    ExprPtr right;
    Operand leftOp;
    Operand rightOp;
    // Settled once here rather than asked of the right operand at every evaluation.
    bool rightIsPure;
};

ExprPtr makeBinary(SourcePos pos, BinaryOp op, ExprPtr left, ExprPtr right);

struct CallExpr;
// A built-in that reads its operands itself and may answer with a value in place instead of a copy.
using InPlaceFn = const Value& (*)(Machine& machine, const CallExpr& call, Value& scratch);
// "target = F(target, ...)" done on the target itself.
using UpdateFn = void (*)(Machine& machine, const CallExpr& call, const VarRef& target);

// A call of a built-in or of a FUNC of the script; which one is settled when the whole text is read,
// since a FUNC may stand after its first call.
struct CallExpr : Expr {
    CallExpr(SourcePos p, std::string n, std::vector<ExprPtr> a);
    const Value& evalRef(Machine& machine, Value& scratch) const override;
    std::string name;
    std::vector<ExprPtr> args;
    std::vector<Operand> operands;
    const Builtin* builtin = nullptr;
    InPlaceFn inPlace = nullptr;
    UpdateFn updateTarget = nullptr;
    int function = -1;
    // Arguments before this one are copied for a built-in: a later argument calls something that could
    // change the variable they were read from.
    std::size_t firstInPlace = 0;
};

enum class Flow { Next, Break, Continue, Return };

struct Stmt {
    explicit Stmt(SourcePos p) : pos(p) {}
    virtual ~Stmt() = default;
    virtual Flow exec(Machine& machine) const = 0;
    SourcePos pos;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

Flow execBlock(const Block& block, Machine& machine);

struct AssignStmt : Stmt {
    AssignStmt(SourcePos p, VarRef t, ExprPtr v);
    Flow exec(Machine& machine) const override;
    Flow assignComputed(Machine& machine) const;
    VarRef target;
    ExprPtr value;
    Operand valueOp;
    // "x = F(x, ...)" where F may be a built-in that returns its changed first argument.
    const CallExpr* updatesTarget = nullptr;
};

struct CallStmt : Stmt {
    CallStmt(SourcePos p, ExprPtr c) : Stmt(p), call(std::move(c)) {}
    Flow exec(Machine& machine) const override;
    ExprPtr call;
};

struct IfStmt : Stmt {
    explicit IfStmt(SourcePos p) : Stmt(p) {}
    Flow exec(Machine& machine) const override;
    ExprPtr condition;
    Block then;
    Block otherwise;
};

// FOR x FROM a TO b: both ends taken once, both inclusive, step 1.
struct ForRangeStmt : Stmt {
    explicit ForRangeStmt(SourcePos p) : Stmt(p) {}
    Flow exec(Machine& machine) const override;
    VarRef variable;
    ExprPtr from;
    ExprPtr to;
    Block body;
};

// FOR x IN list: the items of a comma-separated text.
struct ForInStmt : Stmt {
    explicit ForInStmt(SourcePos p) : Stmt(p) {}
    Flow exec(Machine& machine) const override;
    VarRef variable;
    ExprPtr list;
    Block body;
};

struct JumpStmt : Stmt {
    JumpStmt(SourcePos p, Flow f) : Stmt(p), flow(f) {}
    Flow exec(Machine& machine) const override;
    Flow flow;
};

struct Function {
    std::string name;
    std::vector<std::string> params;
    Block body;
    SourcePos pos;
};

} // namespace zorvant::sim
