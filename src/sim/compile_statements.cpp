#include "sim/builtins.h"
#include "sim/compiler.h"

#include <algorithm>
#include <iterator>

namespace zorvant::sim {
namespace {

// "x = F(x, ...)" with F a built-in that returns its first argument changed: done on x itself.
const CallExpr* updating(const AssignStmt& stmt) {
    const auto* call = dynamic_cast<const CallExpr*>(stmt.value.get());
    if (call == nullptr || call->builtin == nullptr || call->args.empty())
        return nullptr;
    static constexpr std::string_view updating[] = {"SET_VALUE", "INSERT_COLLECTION_ITEM",
                                                    "SET_COLLECTION_ITEM", "REMOVE_COLLECTION_ITEM"};
    if (std::find(std::begin(updating), std::end(updating), call->name) == std::end(updating))
        return nullptr;
    const auto* first = dynamic_cast<const VariableExpr*>(call->args[0].get());
    if (first == nullptr || first->ref.scope != stmt.target.scope || first->ref.index != stmt.target.index)
        return nullptr;
    return call;
}

} // namespace

void Compiler::block(const Block& block) {
    for (const StmtPtr& stmt : block)
        statement(*stmt);
}

void Compiler::finish() {
    for (const int jump : returns_)
        patch(jump, here());
    emit(makeInstr(Op::Return));
}

// Temporaries of a statement live until it ends; a loop's own stay until the loop ends.
void Compiler::statement(const Stmt& stmt) {
    const int temps = tempTop_;
    stepPending_ = true;
    stepPos_ = stmt.pos;
    if (const auto* s = dynamic_cast<const AssignStmt*>(&stmt))
        assign(*s);
    else if (const auto* s = dynamic_cast<const CallStmt*>(&stmt))
        callStatement(static_cast<const CallExpr&>(*s->call));
    else if (const auto* s = dynamic_cast<const IfStmt*>(&stmt))
        ifStatement(*s);
    else if (const auto* s = dynamic_cast<const ForRangeStmt*>(&stmt))
        forRange(*s);
    else if (const auto* s = dynamic_cast<const ForInStmt*>(&stmt))
        forIn(*s);
    else
        jump(static_cast<const JumpStmt&>(stmt));
    tempTop_ = temps;
}

void Compiler::assign(const AssignStmt& stmt) {
    const Arg target = variable(stmt.target, nullptr);
    if (const CallExpr* call = updating(stmt)) {
        update(*call, target);
        return;
    }
    const Arg result = value(*stmt.value, &target, 0);
    if (isLeaf(*stmt.value))
        emit(makeInstr(Op::Move, stmt.pos, target, result));
}

// Whether the target is unset is asked before the arguments are evaluated, as it always was; when
// they cannot change the target, it may as well be asked after them, by Update itself.
void Compiler::update(const CallExpr& call, const Arg& target) {
    const bool argumentsPure = std::all_of(call.args.begin() + 1, call.args.end(),
                                           [](const ExprPtr& arg) { return changesNothing(*arg); });
    Instr instr = makeInstr(call.name == "SET_VALUE" ? Op::SetValueOf : Op::Update, call.pos, target);
    instr.argCount = static_cast<int>(call.args.size());
    instr.call = &call;
    if (argumentsPure) {
        instr.args = arguments(call, 0);
        instr.target = -1;
        emit(instr);
        return;
    }
    const int unset = emit(makeInstr(Op::JumpIfUnset, {}, {}, target));
    instr.args = arguments(call, 0, true);
    emit(instr);
    const int done = emit(makeInstr(Op::Jump));
    patch(unset, here());
    value(call, &target, 0);
    patch(done, here());
}

void Compiler::callStatement(const CallExpr& call) {
    this->call(call, nullptr, 0, false);
}

// A comparison that decides the IF jumps by itself, without its 1 or 0 on the way.
void Compiler::ifStatement(const IfStmt& stmt) {
    const int otherwise = condition(*stmt.condition);
    block(stmt.then);
    if (stmt.otherwise.empty()) {
        patch(otherwise, here());
        return;
    }
    const int done = emit(makeInstr(Op::Jump));
    patch(otherwise, here());
    block(stmt.otherwise);
    patch(done, here());
}

int Compiler::condition(const Expr& expr) {
    const auto* binary = dynamic_cast<const BinaryExpr*>(&expr);
    if (binary == nullptr || binary->op < BinaryOp::Equal || binary->op > BinaryOp::GreaterEqual)
        return emit(makeInstr(Op::JumpUnless, expr.pos, {}, value(expr, nullptr, 0)));
    const int mark = tempTop_;
    const Arg a =
        inOrder(value(*binary->left, nullptr, 1), !isLeaf(*binary->right), !changesNothing(*binary->right));
    const Arg b = value(*binary->right, nullptr, 1);
    tempTop_ = mark;
    Instr jump = makeInstr(Op::JumpUnlessCompare, binary->pos, {}, a, b);
    jump.test = compareOp(binary->op);
    return emit(jump);
}

// The counter and the last number are temporaries of their own; the variable gets the counter's value
// at each round, so that changing it in the body does not change the count.
void Compiler::forRange(const ForRangeStmt& stmt) {
    const Arg counter = temp();
    const Arg last = temp();
    const Arg from = value(*stmt.from, nullptr, 0);
    emit(makeInstr(Op::ForFrom, stmt.from->pos, counter, from));
    const Arg to = value(*stmt.to, nullptr, 0);
    emit(makeInstr(Op::ForTo, stmt.to->pos, last, to));
    Instr round = makeInstr(Op::ForRound, {}, variable(stmt.variable, nullptr), counter, last);
    round.stepPos = stmt.pos;
    loopBody(stmt.body, emit(round));
}

// The text, the start of the item and its end are temporaries of their own, side by side.
void Compiler::forIn(const ForInStmt& stmt) {
    const Arg text = temp();
    temp();
    temp();
    const Arg list = value(*stmt.list, nullptr, 0);
    const int start = emit(makeInstr(Op::ForInStart, stmt.list->pos, text, list));
    Instr round = makeInstr(Op::ForInRound, {}, variable(stmt.variable, nullptr), text);
    round.stepPos = stmt.pos;
    loopBody(stmt.body, emit(round));
    patch(start, here());
}

// Compiles the body of a loop whose round instruction is round; the instruction after the body goes
// on to the next round, and the one after that leaves the loop.
void Compiler::loopBody(const Block& body, int round) {
    loops_.emplace_back();
    block(body);
    const Instr& head = code_.instrs[round];
    Instr next = makeInstr(head.op == Op::ForRound ? Op::ForNext : Op::ForInNext, {}, {}, head.a);
    next.target = round;
    const int nextAt = emit(next);
    const int exit = here();
    patch(round, exit);
    for (const int jump : loops_.back().continues)
        patch(jump, nextAt);
    for (const int jump : loops_.back().breaks)
        patch(jump, exit);
    loops_.pop_back();
}

void Compiler::jump(const JumpStmt& stmt) {
    const int at = emit(makeInstr(Op::Jump));
    switch (stmt.kind) {
    case Jump::Break:
        loops_.back().breaks.push_back(at);
        break;
    case Jump::Continue:
        loops_.back().continues.push_back(at);
        break;
    case Jump::Return:
        returns_.push_back(at);
        break;
    }
}

int Compiler::emit(Instr instr) {
    if (stepPending_) {
        instr.step = true;
        instr.stepPos = stepPos_;
        stepPending_ = false;
    }
    code_.instrs.push_back(instr);
    return static_cast<int>(code_.instrs.size()) - 1;
}

Arg Compiler::temp() {
    const Arg arg = makeArg(Area::Temp, tempTop_++);
    code_.temps = std::max(code_.temps, tempTop_);
    return arg;
}

Program compileProgram(const Script& script) {
    Program program;
    program.functions.resize(script.functions.size());
    for (std::size_t i = 0; i < script.functions.size(); ++i) {
        Compiler compiler(script, program.functions[i]);
        compiler.block(script.functions[i].body);
        compiler.finish();
    }
    Compiler compiler(script, program.body);
    compiler.block(script.body);
    compiler.finish();
    return program;
}

} // namespace zorvant::sim
