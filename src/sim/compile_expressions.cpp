#include "sim/compiler.h"

#include <algorithm>

namespace zorvant::sim {
namespace {

Op binaryOp(BinaryOp op) {
    switch (op) {
    case BinaryOp::Add:
        return Op::Add;
    case BinaryOp::Subtract:
        return Op::Subtract;
    case BinaryOp::Multiply:
        return Op::Multiply;
    case BinaryOp::Divide:
        return Op::Divide;
    case BinaryOp::Join:
        return Op::Join;
    case BinaryOp::Equal:
        return Op::Equal;
    case BinaryOp::NotEqual:
        return Op::NotEqual;
    case BinaryOp::Less:
        return Op::Less;
    case BinaryOp::LessEqual:
        return Op::LessEqual;
    case BinaryOp::Greater:
        return Op::Greater;
    case BinaryOp::GreaterEqual:
        return Op::GreaterEqual;
    case BinaryOp::And:
        return Op::And;
    default:
        return Op::Or;
    }
}

} // namespace

bool isLeaf(const Expr& expr) {
    return dynamic_cast<const ConstantExpr*>(&expr) != nullptr ||
           dynamic_cast<const VariableExpr*>(&expr) != nullptr;
}

Op compareOp(BinaryOp op) {
    return binaryOp(op);
}

// Evaluating the expression changes no variable: it calls no FUNC of the script, and no NEW_GLOBAL.
bool changesNothing(const Expr& expr) {
    if (const auto* negate = dynamic_cast<const NegateExpr*>(&expr))
        return changesNothing(*negate->operand);
    if (const auto* binary = dynamic_cast<const BinaryExpr*>(&expr))
        return changesNothing(*binary->left) && changesNothing(*binary->right);
    if (const auto* call = dynamic_cast<const CallExpr*>(&expr))
        return call->builtin != nullptr && call->name != "NEW_GLOBAL" &&
               std::all_of(call->args.begin(), call->args.end(),
                           [](const ExprPtr& arg) { return changesNothing(*arg); });
    return true;
}

// Operands are read when their instruction runs; a temporary is consumed by it, so the next one may
// take its place.
Arg Compiler::value(const Expr& expr, const Arg* into, int depth) {
    if (const auto* constant = dynamic_cast<const ConstantExpr*>(&expr)) {
        code_.constants.push_back(constant->value);
        return makeArg(Area::Constant, static_cast<int>(code_.constants.size()) - 1, constant);
    }
    if (const auto* var = dynamic_cast<const VariableExpr*>(&expr))
        return variable(var->ref, var);
    const int mark = tempTop_;
    if (const auto* negate = dynamic_cast<const NegateExpr*>(&expr)) {
        const Arg a = value(*negate->operand, nullptr, depth + 1);
        tempTop_ = mark;
        const Arg dst = into != nullptr ? *into : temp();
        emit(makeInstr(Op::Negate, negate->pos, dst, a));
        return dst;
    }
    if (const auto* binary = dynamic_cast<const BinaryExpr*>(&expr)) {
        const Arg a = inOrder(value(*binary->left, nullptr, depth + 1), !isLeaf(*binary->right),
                              !changesNothing(*binary->right));
        const Arg b = value(*binary->right, nullptr, depth + 1);
        tempTop_ = mark;
        const Arg dst = into != nullptr ? *into : temp();
        emit(makeInstr(binaryOp(binary->op), binary->pos, dst, a, b));
        return dst;
    }
    return call(static_cast<const CallExpr&>(expr), into, depth, true);
}

Arg Compiler::call(const CallExpr& call, const Arg* into, int depth, bool valueUsed) {
    const int mark = tempTop_;
    const int count = static_cast<int>(call.args.size());
    if (call.builtin == nullptr) {
        Instr enter = makeInstr(Op::EnterCall, call.pos);
        enter.call = &call;
        enter.depth = depth;
        emit(enter);
    }
    const int args = arguments(call, depth);
    tempTop_ = mark;
    const Arg dst = into != nullptr ? *into : valueUsed ? temp() : Arg{};
    Instr instr = makeInstr(Op::CallBuiltin, call.pos, dst);
    instr.args = args;
    instr.argCount = count;
    instr.call = &call;
    instr.depth = depth;
    instr.valueUsed = valueUsed;
    if (call.builtin == nullptr) {
        instr.op = Op::CallFunction;
    } else if (call.name == "GET_VALUE") {
        instr.op = Op::GetValue;
        instr.a = code_.args[args];
        instr.b = code_.args[args + 1];
    } else if (call.name == "CREATE_MAP" && count == 0) {
        instr.op = Op::CreateMap;
    } else if (call.name == "GET_COLLECTION_COUNT" || call.name == "GET_COLLECTION_ITEM" ||
               call.name == "FLOOR") {
        instr.op = call.name == "FLOOR"                  ? Op::Floor
                   : call.name == "GET_COLLECTION_COUNT" ? Op::CollectionCount
                                                         : Op::CollectionItem;
        instr.a = code_.args[args];
        if (count > 1)
            instr.b = code_.args[args + 1];
    }
    emit(instr);
    return dst;
}

// An argument is read, and copied for a FUNC, at its turn; later arguments that call something could
// change the variable it was read from.
int Compiler::arguments(const CallExpr& call, int depth, bool targetFirst) {
    std::vector<Arg> args;
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        const Expr& arg = *call.args[i];
        if (i == 0 && targetFirst) {
            const auto& var = static_cast<const VariableExpr&>(arg);
            args.push_back(variable(var.ref, &var));
            continue;
        }
        bool codeFollows = false, changeFollows = false;
        for (std::size_t j = i + 1; j < call.args.size(); ++j) {
            codeFollows = codeFollows || !isLeaf(*call.args[j]);
            changeFollows = changeFollows || !changesNothing(*call.args[j]);
        }
        args.push_back(inOrder(value(arg, nullptr, depth + 1), codeFollows, changeFollows));
    }
    const int first = static_cast<int>(code_.args.size());
    code_.args.insert(code_.args.end(), args.begin(), args.end());
    return first;
}

// A variable read by an instruction after other code: copied at its turn when that code could change
// it, otherwise only checked then, so that its unset warning keeps its place.
Arg Compiler::inOrder(Arg operand, bool codeFollows, bool changeFollows) {
    if (!operand.isVariable() || !codeFollows)
        return operand;
    if (changeFollows) {
        const Arg copy = temp();
        emit(makeInstr(Op::Move, operand.node->pos, copy, operand));
        return copy;
    }
    emit(makeInstr(Op::Check, {}, {}, operand));
    operand.checked = true;
    return operand;
}

Arg Compiler::variable(const VarRef& ref, const Expr* node) const {
    const Area area = ref.scope == VarRef::Scope::Param    ? Area::Param
                      : ref.scope == VarRef::Scope::Result ? Area::Result
                                                           : Area::Global;
    return makeArg(area, ref.index, node);
}

} // namespace zorvant::sim
