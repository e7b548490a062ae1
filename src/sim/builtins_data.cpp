#include "sim/builtins.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

#include <cmath>

namespace zorvant::sim {
namespace {

using namespace text::literals;

// Maps and collections change only through the returned value; the argument is taken over, so that
// data no variable holds any more is changed in place instead of copied.
MapPtr mapArg(BuiltinCall& call, std::size_t i, std::string_view fn) {
    if (!call.arg(i).isMap())
        throw ScriptError(call.pos, cat(fn, ": первый аргумент не MAP"_cp));
    return call.owns(i) ? call.owned[i]->takeMap() : call.arg(i).map();
}

CollectionPtr collectionArg(BuiltinCall& call, std::size_t i, std::string_view fn) {
    if (!call.arg(i).isCollection())
        throw ScriptError(call.pos, cat(fn, ": первый аргумент не COLLECTION"_cp));
    return call.owns(i) ? call.owned[i]->takeCollection() : call.arg(i).collection();
}

// A 0-based index; -1 when it is no whole number in [0, limit).
long long indexArg(BuiltinCall& call, std::size_t i, std::size_t limit) {
    const double n = asNumber(call.arg(i), call.machine, call.pos);
    if (n != std::floor(n) || n < 0 || n >= static_cast<double>(limit))
        return -1;
    return static_cast<long long>(n);
}

void warnIndex(BuiltinCall& call, std::string_view fn) {
    call.machine.warnings().add(call.pos, cat(fn, ": индекс вне коллекции"_cp));
}

Value createMap(BuiltinCall& call) {
    if (call.count() == 0)
        return makeMap();
    return copyMap(*mapArg(call, 0, "CREATE_MAP"));
}

Value setValue(BuiltinCall& call) {
    MapPtr map = ownMap(mapArg(call, 0, "SET_VALUE"));
    std::string scratch;
    map->set(textView(call.arg(1), scratch, call.pos), call.take(2));
    return map;
}

// A missing key, or a first argument that is no map, gives the empty text.
Value getValue(BuiltinCall& call) {
    if (!call.arg(0).isMap()) {
        call.machine.warnings().add(call.pos, "GET_VALUE: первый аргумент не MAP, взята пустая строка"_cp);
        return Value(std::string());
    }
    std::string scratch;
    const Value* found = call.arg(0).map()->find(textView(call.arg(1), scratch, call.pos));
    return found != nullptr ? *found : Value(std::string());
}

Value createCollection(BuiltinCall& call) {
    if (call.count() == 0)
        return makeCollection();
    return std::make_shared<CollectionData>(*collectionArg(call, 0, "CREATE_COLLECTION"));
}

Value collectionCount(BuiltinCall& call) {
    if (!call.arg(0).isCollection()) {
        call.machine.warnings().add(call.pos, "GET_COLLECTION_COUNT: аргумент не COLLECTION, взят 0"_cp);
        return 0.0;
    }
    return static_cast<double>(call.arg(0).collection()->items.size());
}

Value collectionItem(BuiltinCall& call) {
    if (!call.arg(0).isCollection()) {
        call.machine.warnings().add(call.pos,
                                    "GET_COLLECTION_ITEM: аргумент не COLLECTION, взята пустая строка"_cp);
        return Value(std::string());
    }
    const auto& items = call.arg(0).collection()->items;
    const long long i = indexArg(call, 1, items.size());
    if (i < 0) {
        warnIndex(call, "GET_COLLECTION_ITEM");
        return Value(std::string());
    }
    return items[i];
}

Value insertItem(BuiltinCall& call) {
    CollectionPtr c = ownCollection(collectionArg(call, 0, "INSERT_COLLECTION_ITEM"));
    const long long i = indexArg(call, 1, c->items.size() + 1);
    if (i < 0) {
        warnIndex(call, "INSERT_COLLECTION_ITEM");
        return c;
    }
    if (c->items.size() >= call.machine.limits().items)
        throw ScriptError(call.pos, "коллекция больше допустимого"_cp);
    c->items.insert(c->items.begin() + i, call.take(2));
    return c;
}

Value setItem(BuiltinCall& call) {
    CollectionPtr c = ownCollection(collectionArg(call, 0, "SET_COLLECTION_ITEM"));
    const long long i = indexArg(call, 1, c->items.size());
    if (i < 0)
        warnIndex(call, "SET_COLLECTION_ITEM");
    else
        c->items[i] = call.take(2);
    return c;
}

Value removeItem(BuiltinCall& call) {
    CollectionPtr c = ownCollection(collectionArg(call, 0, "REMOVE_COLLECTION_ITEM"));
    const long long i = indexArg(call, 1, c->items.size());
    if (i < 0)
        warnIndex(call, "REMOVE_COLLECTION_ITEM");
    else
        c->items.erase(c->items.begin() + i);
    return c;
}

Value newGlobal(BuiltinCall& call) {
    call.machine.newGlobal(asText(call.arg(0), call.pos), call.take(1), call.pos);
    return Value(std::string());
}

constexpr Builtin kData[] = {
    {"CREATE_MAP", 0, 1, createMap},
    {"SET_VALUE", 3, 3, setValue},
    {"GET_VALUE", 2, 2, getValue},
    {"CREATE_COLLECTION", 0, 1, createCollection},
    {"GET_COLLECTION_COUNT", 1, 1, collectionCount},
    {"GET_COLLECTION_ITEM", 2, 2, collectionItem},
    {"INSERT_COLLECTION_ITEM", 3, 3, insertItem},
    {"SET_COLLECTION_ITEM", 3, 3, setItem},
    {"REMOVE_COLLECTION_ITEM", 2, 2, removeItem},
    {"NEW_GLOBAL", 2, 2, newGlobal},
};
static_assert(fitsArgs(kData));

} // namespace

std::span<const Builtin> dataBuiltins() {
    return kData;
}

} // namespace zorvant::sim
