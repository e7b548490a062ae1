// The built-ins that generated scripts call most, in forms that read their operands themselves: no
// argument array, and a value found in a map or collection is handed back where it lies. Each does
// what its general form does, in the same order, with the same warnings and errors.
#include "sim/builtins.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

#include <cmath>

namespace zorvant::sim {
namespace {

using namespace text::literals;

// Argument i as the general call path hands it over: read in place, unless a later argument calls
// something that could change the variable it was read from.
const Value& argument(Machine& machine, const CallExpr& call, std::size_t i, Value& scratch) {
    const Value& value = machine.operand(call.operands[i], scratch);
    if (&value == &scratch || i >= call.firstInPlace)
        return value;
    scratch = value;
    return scratch;
}

// found lies in a map or collection that the caller's argument holds; it stays valid as long as that
// does, unless the argument was computed into the call's own scratch.
const Value& foundValue(const Value& found, bool heldLocally, Value& result) {
    if (!heldLocally)
        return found;
    result = found;
    return result;
}

const Value& emptyText(Value& result) {
    result = Value(std::string());
    return result;
}

const Value& getValue(Machine& machine, const CallExpr& call, Value& result) {
    Value mapScratch, keyScratch;
    const Value& map = argument(machine, call, 0, mapScratch);
    const Value& key = argument(machine, call, 1, keyScratch);
    if (!map.isMap()) {
        machine.warnings().add(call.pos, "GET_VALUE: первый аргумент не MAP, взята пустая строка"_cp);
        return emptyText(result);
    }
    std::string keyText;
    const Value* found = map.map()->find(textView(key, keyText, call.pos));
    return found == nullptr ? emptyText(result) : foundValue(*found, &map == &mapScratch, result);
}

const Value& createMap(Machine& machine, const CallExpr& call, Value& result) {
    if (!call.args.empty())
        return machine.callBuiltin(call, result);
    result = Value(makeMap());
    return result;
}

const Value& collectionCount(Machine& machine, const CallExpr& call, Value& result) {
    Value scratch;
    const Value& collection = argument(machine, call, 0, scratch);
    if (!collection.isCollection()) {
        machine.warnings().add(call.pos, "GET_COLLECTION_COUNT: аргумент не COLLECTION, взят 0"_cp);
        result.setNumber(0);
        return result;
    }
    result.setNumber(static_cast<double>(collection.collection()->items.size()));
    return result;
}

const Value& collectionItem(Machine& machine, const CallExpr& call, Value& result) {
    Value collectionScratch, indexScratch;
    const Value& collection = argument(machine, call, 0, collectionScratch);
    const Value& index = argument(machine, call, 1, indexScratch);
    if (!collection.isCollection()) {
        machine.warnings().add(call.pos,
                               "GET_COLLECTION_ITEM: аргумент не COLLECTION, взята пустая строка"_cp);
        return emptyText(result);
    }
    const auto& items = collection.collection()->items;
    const double n = asNumber(index, machine, call.pos);
    if (n != std::floor(n) || n < 0 || n >= static_cast<double>(items.size())) {
        machine.warnings().add(call.pos, "GET_COLLECTION_ITEM: индекс вне коллекции"_cp);
        return emptyText(result);
    }
    return foundValue(items[static_cast<std::size_t>(n)], &collection == &collectionScratch, result);
}

const Value& floorOf(Machine& machine, const CallExpr& call, Value& result) {
    Value scratch;
    const Value& value = machine.operand(call.operands[0], scratch);
    result.setNumber(std::floor(value.isNumber() ? value.number() : asNumber(value, machine, call.pos)));
    return result;
}

// target = SET_VALUE(target, key, value): the map is changed where the target holds it when nothing
// else does. As in the general form the target lets go of its value first, so a fault leaves it unset.
void setValueOfTarget(Machine& machine, const CallExpr& call, const VarRef& target) {
    Value keyScratch, valueScratch;
    const Value* key = &argument(machine, call, 1, keyScratch);
    const Value* value = &argument(machine, call, 2, valueScratch);
    Value& slot = machine.slot(target);
    // An argument that reads the target, or may read inside its map, keeps a copy of what it read.
    const auto keep = [&](const Value*& arg, Value& scratch, const Operand& op) {
        if (arg != &scratch && (arg == &slot || op.kind == Operand::Kind::Computed)) {
            scratch = *arg;
            arg = &scratch;
        }
    };
    keep(key, keyScratch, call.operands[1]);
    keep(value, valueScratch, call.operands[2]);
    if (!slot.isMap()) {
        slot.clear();
        throw ScriptError(call.pos, "SET_VALUE: первый аргумент не MAP"_cp);
    }
    if (slot.map().use_count() != 1)
        slot = Value(std::make_shared<MapData>(*slot.map()));
    std::string keyText;
    std::string_view keyView;
    try {
        keyView = textView(*key, keyText, call.pos);
    } catch (...) {
        slot.clear();
        throw;
    }
    slot.map()->set(keyView, value == &valueScratch ? std::move(valueScratch) : *value);
}

} // namespace

InPlaceFn findInPlace(std::string_view name) {
    static constexpr std::pair<std::string_view, InPlaceFn> forms[] = {
        {"GET_VALUE", getValue},
        {"CREATE_MAP", createMap},
        {"GET_COLLECTION_COUNT", collectionCount},
        {"GET_COLLECTION_ITEM", collectionItem},
        {"FLOOR", floorOf},
    };
    for (const auto& [formName, fn] : forms)
        if (formName == name)
            return fn;
    return nullptr;
}

UpdateFn findUpdate(std::string_view name) {
    return name == "SET_VALUE" ? setValueOfTarget : nullptr;
}

} // namespace zorvant::sim
