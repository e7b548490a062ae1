// Calls as the machine runs them: built-ins through their table (GET_VALUE and x = SET_VALUE(x, ...)
// directly, as generated scripts call them most), and FUNCs of the script in frames of their own.
#include "sim/builtins.h"
#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#ifdef _MSC_VER
#include <intrin.h>
#endif

namespace zorvant::sim {
namespace {

using namespace text::literals;

// How much of the thread's stack nested calls may take. The machine itself needs little for a call, but
// a call deep inside an expression counts as the evaluation of such expressions has always cost, so
// that a script nested beyond reason stops the same way everywhere.
#ifdef _WIN32
constexpr std::uintptr_t kStackBudget = 384 * 1024;
#else
constexpr std::uintptr_t kStackBudget = 3 * 1024 * 1024;
#endif
constexpr std::uintptr_t kBytesPerLevel = 96;
// Room a native version leaves below the limits: the text it stands for may call one FUNC more deeply.
constexpr std::uintptr_t kNativeStackMargin = 16 * 1024;
constexpr int kNativeLevels = 3;
constexpr std::size_t kMaxNativeArgs = 8;

// The arguments of a call as BuiltinCall takes them: read in order, temporaries taken over.
struct Arguments {
    const Value* values[kMaxBuiltinArgs];
    Value* owned[kMaxBuiltinArgs];
};

} // namespace

std::uintptr_t Machine::stackPosition() const {
#ifdef _MSC_VER
    return reinterpret_cast<std::uintptr_t>(_AddressOfReturnAddress());
#else
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
#endif
}

void Machine::getValue(const Registers& r, const Instr& in) {
    const Value& map = read(r, in.a);
    const Value& key = read(r, in.b);
    Value result;
    if (!map.isMap()) {
        warnings_.add(in.pos, "GET_VALUE: первый аргумент не MAP, взята пустая строка"_cp);
        result = Value(std::string());
    } else {
        std::string scratch;
        const Value* found = map.map()->find(textView(key, scratch, in.pos));
        result = found != nullptr ? *found : Value(std::string());
    }
    release(r, in.a);
    release(r, in.b);
    store(r, in.dst, std::move(result));
}

void Machine::collectionCount(const Registers& r, const Instr& in) {
    const Value& collection = read(r, in.a);
    double count = 0;
    if (collection.isCollection())
        count = static_cast<double>(collection.collection()->items.size());
    else
        warnings_.add(in.pos, "GET_COLLECTION_COUNT: аргумент не COLLECTION, взят 0"_cp);
    release(r, in.a);
    store(r, in.dst, Value(count));
}

// The index is converted only when the first argument is a collection.
void Machine::collectionItem(const Registers& r, const Instr& in) {
    const Value& collection = read(r, in.a);
    const Value& index = read(r, in.b);
    Value result{std::string()};
    if (!collection.isCollection()) {
        warnings_.add(in.pos, "GET_COLLECTION_ITEM: аргумент не COLLECTION, взята пустая строка"_cp);
    } else {
        const auto& items = collection.collection()->items;
        const double n = index.isNumber() ? index.number() : asNumber(index, *this, in.pos);
        if (n != std::floor(n) || n < 0 || n >= static_cast<double>(items.size()))
            warnings_.add(in.pos, "GET_COLLECTION_ITEM: индекс вне коллекции"_cp);
        else
            result = items[static_cast<std::size_t>(n)];
    }
    release(r, in.a);
    release(r, in.b);
    store(r, in.dst, std::move(result));
}

void Machine::callBuiltin(const Registers& r, const Instr& in, const Arg* args) {
    const auto count = static_cast<std::size_t>(in.argCount);
    Arguments arguments;
    for (std::size_t i = 0; i < count; ++i) {
        arguments.owned[i] = args[i].area == Area::Temp ? &place(r, args[i]) : nullptr;
        arguments.values[i] = arguments.owned[i] != nullptr ? arguments.owned[i] : &read(r, args[i]);
    }
    BuiltinCall call{*this, {arguments.values, count}, {arguments.owned, count}, in.pos};
    Value result = in.call->builtin->fn(call);
    for (std::size_t i = 0; i < count; ++i)
        release(r, args[i]);
    // NEW_GLOBAL may have moved the globals.
    Registers after = r;
    after.at[static_cast<int>(Area::Global)] = globals_.data();
    store(after, in.dst, std::move(result));
}

// x = F(x, ...): x is taken over by F, so that a map or collection only x holds is changed in place. An
// unset x is an ordinary call. Arguments that read x itself keep a copy of what it held.
void Machine::update(const Registers& r, const Instr& in, const Arg* args) {
    Value& target = place(r, in.dst);
    if (in.target < 0 && target.isUnset()) {
        callBuiltin(r, in, args);
        return;
    }
    if (in.op == Op::SetValueOf) {
        updateMap(r, in, args, target);
        return;
    }
    const auto count = static_cast<std::size_t>(in.argCount);
    Arguments arguments;
    Value copies[kMaxBuiltinArgs];
    for (std::size_t i = 1; i < count; ++i) {
        arguments.owned[i] = args[i].area == Area::Temp ? &place(r, args[i]) : nullptr;
        arguments.values[i] = arguments.owned[i] != nullptr ? arguments.owned[i] : &read(r, args[i]);
        if (arguments.values[i] == &target) {
            copies[i] = target;
            arguments.values[i] = arguments.owned[i] = &copies[i];
        }
    }
    copies[0] = std::move(target);
    arguments.values[0] = arguments.owned[0] = &copies[0];
    BuiltinCall call{*this, {arguments.values, count}, {arguments.owned, count}, in.pos};
    Value result = in.call->builtin->fn(call);
    for (std::size_t i = 1; i < count; ++i)
        release(r, args[i]);
    place(r, in.dst) = std::move(result);
}

// x = SET_VALUE(x, key, value) on x's own map when nothing else holds it. As with any built-in that
// takes x over, a fault leaves x unset.
void Machine::updateMap(const Registers& r, const Instr& in, const Arg* args, Value& target) {
    Value keyCopy, valueCopy;
    const Value* key = &read(r, args[1]);
    Value* ownedValue = args[2].area == Area::Temp ? &place(r, args[2]) : nullptr;
    const Value* value = ownedValue != nullptr ? ownedValue : &read(r, args[2]);
    if (key == &target)
        key = &(keyCopy = target);
    if (value == &target)
        value = ownedValue = &(valueCopy = target);
    if (!target.isMap()) {
        target.clear();
        throw ScriptError(in.pos, "SET_VALUE: первый аргумент не MAP"_cp);
    }
    if (target.map().use_count() != 1)
        target = Value(copyMap(*target.map()));
    if (key->isNumber())
        key = &(keyCopy = Value(numberToText(key->number())));
    else if (!key->isText()) {
        target.clear();
        std::string unused;
        textView(*key, unused, in.pos);
    }
    target.map()->set(*key, ownedValue != nullptr ? std::move(*ownedValue) : *value);
    release(r, args[1]);
    release(r, args[2]);
}

void Machine::enterCall(const Instr& in) {
    const Function& fn = script_.functions[static_cast<std::size_t>(in.call->function)];
    if (frames_.size() > static_cast<std::size_t>(limits_.callDepth))
        throw ScriptError(in.pos, cat("вложенность вызовов больше "_cp, std::to_string(limits_.callDepth),
                                      ": похоже на бесконечную рекурсию в "_cp, fn.name));
    const auto levels = static_cast<std::uintptr_t>(frames_.back().depth + in.depth + 1);
    // The stack grows downwards on every platform the program runs on.
    if (stackBase_ - stackPosition() > kStackBudget || levels * kBytesPerLevel > kStackBudget)
        throw ScriptError(in.pos, cat("вызовы вложены слишком глубоко для стека: "_cp, fn.name));
}

// A native version runs only where the text, run instead, would not reach a limit of calls either; its
// arguments must all be set, since reading an unset one warns.
bool Machine::runNative(const Registers& r, const Instr& in, const Arg* args, std::size_t function) {
    NativeFunction& native = natives_[function];
    const auto count = static_cast<std::size_t>(in.argCount);
    const auto levels = static_cast<std::uintptr_t>(frames_.back().depth + in.depth + kNativeLevels);
    if (frames_.size() + 1 > static_cast<std::size_t>(limits_.callDepth) || count > kMaxNativeArgs ||
        levels * kBytesPerLevel > kStackBudget ||
        stackBase_ - stackPosition() + kNativeStackMargin > kStackBudget)
        return false;
    const Value* values[kMaxNativeArgs];
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = &place(r, args[i]);
        if (values[i]->isUnset())
            return false;
    }
    NativeCall call{{values, count},
                    terminal_,
                    globals_,
                    native.slots.data(),
                    native.memory.get(),
                    limits_.steps - steps_,
                    limits_.textLength,
                    native.mayDefer,
                    Value(),
                    0,
                    false};
    if (!native.fn(call))
        return false;
    if (call.deferred && !native.pending) {
        native.pending = true;
        pendingNatives_.push_back(function);
    }
    steps_ += call.steps;
    for (std::size_t i = 0; i < count; ++i)
        release(r, args[i]);
    store(r, in.dst, std::move(call.result));
    return true;
}

// A native leaves the registers as they are; the text's frame may move the stack and the globals.
void Machine::callFunction(Registers& r, const Code& caller, const Instr& in, const Arg* args) {
    const auto function = static_cast<std::size_t>(in.call->function);
    if (nativeLibrary_ && natives_[function].fn != nullptr && runNative(r, in, args, function))
        return;
    // The text reads its own variables, which its native may have left pending.
    if (natives_[function].pending)
        flushNatives();
    const Code& code = script_.program.functions[function];
    const std::size_t params = stack_.size();
    // Room for the new frame first: the arguments are read from the caller's frame as they are pushed.
    const std::size_t needed = params + static_cast<std::size_t>(in.argCount + code.temps);
    if (stack_.capacity() < needed) {
        stack_.reserve(std::max(needed, 2 * stack_.capacity()));
        loadRegisters(r, caller);
    }
    for (int i = 0; i < in.argCount; ++i) {
        Value arg = args[i].area == Area::Temp ? std::move(place(r, args[i])) : read(r, args[i]);
        stack_.push_back(std::move(arg));
    }
    frames_.push_back({params, stack_.size(), Value(), frames_.back().depth + in.depth + 1});
    stack_.resize(stack_.size() + static_cast<std::size_t>(code.temps));
    run(code);
    Value result = std::move(frames_.back().result);
    frames_.pop_back();
    stack_.resize(params);
    loadRegisters(r, caller);
    if (in.valueUsed && result.isUnset()) {
        warnings_.add(in.pos, cat("функция "_cp, script_.functions[function].name,
                                  " не присвоила RESULT: взята пустая строка"_cp));
        result = Value(std::string());
    }
    store(r, in.dst, std::move(result));
}

} // namespace zorvant::sim
