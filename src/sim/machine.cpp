#include "sim/machine.h"

#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/operations.h"
#include "sim/operator_rules.h"
#include "text/cp1251.h"

#include <cmath>

namespace zorvant::sim {
namespace {

using namespace text::literals;

} // namespace

Machine::Machine(const Script& script, Terminal& terminal, Limits limits)
    : script_(script), terminal_(terminal), limits_(limits), globals_(script.globals.size()),
      persistent_(script.globals.size(), 0), natives_(nativeFunctions(script)) {
    frames_.reserve(static_cast<std::size_t>(limits_.callDepth) + 2);
    for (std::size_t i = 0; i < script.globals.size(); ++i)
        slots_.emplace(script.globals[i], static_cast<int>(i));
    deferrable_.resize(script.globals.size());
    for (const NativeFunction& native : natives_)
        if (native.mayDefer)
            for (const int slot : native.slots)
                deferrable_[static_cast<std::size_t>(slot)] = 1;
}

void Machine::recalculate() {
    // NEW_GLOBAL variables keep their values: set aside while every other is dropped in one sweep.
    kept_.resize(persistentSlots_.size());
    for (std::size_t i = 0; i < persistentSlots_.size(); ++i)
        kept_[i] = std::move(globals_[static_cast<std::size_t>(persistentSlots_[i])]);
    for (Value& variable : globals_)
        variable.clear();
    for (std::size_t i = 0; i < persistentSlots_.size(); ++i)
        globals_[static_cast<std::size_t>(persistentSlots_[i])] = std::move(kept_[i]);
    stack_.clear();
    frames_.clear();
    steps_ = 0;
    stackBase_ = stackPosition();
    const Code& body = script_.program.body;
    stack_.resize(static_cast<std::size_t>(body.temps));
    frames_.push_back({0, 0, Value(), 0});
    try {
        run(body);
    } catch (...) {
        flushNatives();
        throw;
    }
    flushNatives();
}

void Machine::flushNatives() {
    for (const std::size_t function : pendingNatives_) {
        NativeFunction& native = natives_[function];
        native.memory->flush(globals_, native.slots.data());
        native.pending = false;
    }
    pendingNatives_.clear();
}

void Machine::loadRegisters(Registers& r, const Code& code) {
    Frame& frame = frames_.back();
    r.at[static_cast<int>(Area::Constant)] = const_cast<Value*>(code.constants.data());
    r.at[static_cast<int>(Area::Global)] = globals_.data();
    r.at[static_cast<int>(Area::Param)] = stack_.data() + frame.params;
    r.at[static_cast<int>(Area::Result)] = &frame.result;
    r.at[static_cast<int>(Area::Temp)] = stack_.data() + frame.temps;
}

// The whole loop of the machine: each instruction's work is a line or a call here. Constants are
// never written: no instruction has one for its destination.
void Machine::run(const Code& code) {
    const Instr* const instrs = code.instrs.data();
    const Arg* const args = code.args.data();
    Registers r;
    loadRegisters(r, code);
    std::size_t next = 0;
    for (;;) {
        const Instr& in = instrs[next++];
        if (in.step)
            step(in.stepPos);
        switch (in.op) {
        case Op::Move:
            if (in.a.area == Area::Temp)
                place(r, in.dst) = std::move(place(r, in.a));
            else
                place(r, in.dst) = read(r, in.a);
            break;
        case Op::Check:
            read(r, in.a);
            break;
        case Op::Add:
        case Op::Subtract:
        case Op::Multiply:
        case Op::Divide: {
            const Value& x = place(r, in.a);
            const Value& y = place(r, in.b);
            if (x.isNumber() && y.isNumber())
                place(r, in.dst).setNumber(compute(in.op, x.number(), y.number(), in.pos));
            else
                arithmetic(r, in);
            break;
        }
        case Op::Join:
            join(r, in);
            break;
        case Op::Equal:
        case Op::NotEqual:
        case Op::Less:
        case Op::LessEqual:
        case Op::Greater:
        case Op::GreaterEqual:
            place(r, in.dst).setNumber(holdsBetween(r, in, in.op) ? 1.0 : 0.0);
            break;
        case Op::And:
        case Op::Or: {
            const Value& x = place(r, in.a);
            const Value& y = place(r, in.b);
            if (x.isNumber() && y.isNumber())
                place(r, in.dst).setNumber((in.op == Op::And ? x.number() != 0 && y.number() != 0
                                                             : x.number() != 0 || y.number() != 0)
                                               ? 1.0
                                               : 0.0);
            else
                logic(r, in);
            break;
        }
        case Op::Negate:
            negate(r, in);
            break;
        case Op::Jump:
            next = static_cast<std::size_t>(in.target);
            break;
        case Op::JumpUnless: {
            const bool holds = truth(read(r, in.a), in.pos);
            release(r, in.a);
            if (!holds)
                next = static_cast<std::size_t>(in.target);
            break;
        }
        case Op::JumpUnlessCompare:
            if (!holdsBetween(r, in, in.test))
                next = static_cast<std::size_t>(in.target);
            break;
        case Op::JumpIfUnset:
            if (place(r, in.a).isUnset())
                next = static_cast<std::size_t>(in.target);
            break;
        case Op::GetValue:
            // What was found is taken before the temporaries go: one of them may hold the map.
            if (const Value* found = peekValue(r, in); found == nullptr) {
                getValue(r, in);
            } else if (found->isNumber()) {
                const double number = found->number();
                release(r, in.a);
                release(r, in.b);
                place(r, in.dst).setNumber(number);
            } else {
                Value value = *found;
                release(r, in.a);
                release(r, in.b);
                place(r, in.dst) = std::move(value);
            }
            break;
        case Op::CreateMap:
            store(r, in.dst, Value(makeMap()));
            break;
        case Op::CollectionCount:
            collectionCount(r, in);
            break;
        case Op::CollectionItem:
            collectionItem(r, in);
            break;
        case Op::Floor: {
            const Value& x = read(r, in.a);
            const double number = x.isNumber() ? x.number() : asNumber(x, *this, in.pos);
            release(r, in.a);
            store(r, in.dst, Value(std::floor(number)));
            break;
        }
        case Op::CallBuiltin:
            callBuiltin(r, in, args + in.args);
            // NEW_GLOBAL may have moved the globals.
            r.at[static_cast<int>(Area::Global)] = globals_.data();
            break;
        case Op::Update:
        case Op::SetValueOf:
            update(r, in, args + in.args);
            break;
        case Op::EnterCall:
            enterCall(in);
            break;
        case Op::CallFunction:
            callFunction(r, code, in, args + in.args);
            break;
        case Op::ForFrom:
        case Op::ForTo:
            forNumber(r, in);
            break;
        case Op::ForRound:
            if (!forRound(r, in))
                next = static_cast<std::size_t>(in.target);
            break;
        case Op::ForNext: {
            Value& counter = place(r, in.a);
            counter.setNumber(counter.number() + 1);
            next = static_cast<std::size_t>(in.target);
            break;
        }
        case Op::ForInStart:
            if (!forInStart(r, in))
                next = static_cast<std::size_t>(in.target);
            break;
        case Op::ForInRound:
            if (!forInRound(r, in))
                next = static_cast<std::size_t>(in.target);
            break;
        case Op::ForInNext: {
            Value* items = &place(r, in.a);
            items[1].setNumber(items[2].number() + 1);
            next = static_cast<std::size_t>(in.target);
            break;
        }
        case Op::Return:
            return;
        }
    }
}

const Value& Machine::readUnset(const Arg& arg) {
    static const Value empty{std::string()};
    if (!arg.checked) {
        const auto& variable = static_cast<const VariableExpr&>(*arg.node);
        warnings_.add(variable.pos, cat("переменная "_cp, variable.ref.name,
                                        " прочитана до присваивания: взята пустая строка"_cp));
    }
    return empty;
}

void Machine::failSteps(SourcePos pos) const {
    throw ScriptError(pos, cat("пересчёт не уложился в "_cp, std::to_string(limits_.steps),
                               " шагов: похоже на бесконечный цикл"_cp));
}

int Machine::slotOfName(std::string_view upperName) {
    const auto [it, added] = slots_.try_emplace(std::string(upperName), static_cast<int>(globals_.size()));
    if (added) {
        globals_.emplace_back();
        persistent_.push_back(0);
    }
    return it->second;
}

void Machine::newGlobal(std::string_view name, Value initial, SourcePos pos) {
    // A script names the same variable in every recalculation.
    if (name.empty() || name != lastNewGlobal_.name) {
        const std::string upper = upperCaseLatin(name);
        if (upper.empty())
            throw ScriptError(pos, "NEW_GLOBAL без имени переменной"_cp);
        lastNewGlobal_ = {std::string(name), slotOfName(upper)};
    }
    const int slot = lastNewGlobal_.slot;
    if (static_cast<std::size_t>(slot) < deferrable_.size() && deferrable_[slot])
        flushNatives();
    if (persistent_[slot])
        return;
    persistent_[slot] = 1;
    persistentSlots_.push_back(slot);
    globals_[slot] = std::move(initial);
}

const Value* Machine::global(std::string_view name) const {
    const auto it = slots_.find(upperCaseLatin(name));
    if (it == slots_.end())
        return nullptr;
    const Value& value = globals_[it->second];
    return value.isUnset() ? nullptr : &value;
}

} // namespace zorvant::sim
