#pragma once
// The parsed form of a script: expressions and statements whose variable names are already resolved
// to slots. The compiler (program.h) turns it into what the machine runs.
#include "sim/script_error.h"
#include "sim/value.h"

#include <memory>
#include <string>
#include <vector>

namespace zorvant::sim {

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
    SourcePos pos;
};
using ExprPtr = std::unique_ptr<Expr>;

struct ConstantExpr : Expr {
    ConstantExpr(SourcePos p, Value v) : Expr(p), value(std::move(v)) {}
    Value value;
};

struct VariableExpr : Expr {
    VariableExpr(SourcePos p, VarRef r) : Expr(p), ref(std::move(r)) {}
    VarRef ref;
};

struct NegateExpr : Expr {
    NegateExpr(SourcePos p, ExprPtr o) : Expr(p), operand(std::move(o)) {}
    ExprPtr operand;
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

// Both operands are always evaluated, the left one first.
struct BinaryExpr : Expr {
    BinaryExpr(SourcePos p, BinaryOp o, ExprPtr l, ExprPtr r)
        : Expr(p), op(o), left(std::move(l)), right(std::move(r)) {}
    BinaryOp op;
    ExprPtr left;
    ExprPtr right;
};

// A call of a built-in or of a FUNC of the script; which one is settled when the whole text is read,
// since a FUNC may stand after its first call.
struct CallExpr : Expr {
    CallExpr(SourcePos p, std::string n, std::vector<ExprPtr> a)
        : Expr(p), name(std::move(n)), args(std::move(a)) {}
    std::string name;
    std::vector<ExprPtr> args;
    const Builtin* builtin = nullptr;
    int function = -1;
};

struct Stmt {
    explicit Stmt(SourcePos p) : pos(p) {}
    virtual ~Stmt() = default;
    SourcePos pos;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct AssignStmt : Stmt {
    AssignStmt(SourcePos p, VarRef t, ExprPtr v) : Stmt(p), target(std::move(t)), value(std::move(v)) {}
    VarRef target;
    ExprPtr value;
};

struct CallStmt : Stmt {
    CallStmt(SourcePos p, ExprPtr c) : Stmt(p), call(std::move(c)) {}
    ExprPtr call;
};

struct IfStmt : Stmt {
    explicit IfStmt(SourcePos p) : Stmt(p) {}
    ExprPtr condition;
    Block then;
    Block otherwise;
};

// FOR x FROM a TO b: both ends taken once, both inclusive, step 1.
struct ForRangeStmt : Stmt {
    explicit ForRangeStmt(SourcePos p) : Stmt(p) {}
    VarRef variable;
    ExprPtr from;
    ExprPtr to;
    Block body;
};

// FOR x IN list: the items of a comma-separated text.
struct ForInStmt : Stmt {
    explicit ForInStmt(SourcePos p) : Stmt(p) {}
    VarRef variable;
    ExprPtr list;
    Block body;
};

enum class Jump { Break, Continue, Return };

struct JumpStmt : Stmt {
    JumpStmt(SourcePos p, Jump k) : Stmt(p), kind(k) {}
    Jump kind;
};

struct Function {
    std::string name;
    std::vector<std::string> params;
    Block body;
    SourcePos pos;
};

} // namespace zorvant::sim
