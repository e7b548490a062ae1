#include "sim/builtins.h"
#include "sim/conversions.h"
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

int wholeArg(BuiltinCall& call, std::size_t i) {
    return wholeNumber(asNumber(call.arg(i), call.machine, call.pos));
}

// GET_CANDLE_EX(chart, date, time): COUNT, TIME and LINES of the candle that holds the moment.
Value candleEx(BuiltinCall& call) {
    std::string scratch;
    const std::string_view chart = textView(call.arg(0), scratch, call.pos);
    Terminal& terminal = call.machine.terminal();
    if (terminal.chart(chart) == nullptr)
        call.machine.warnings().add(call.pos, cat("GET_CANDLE_EX: нет графика "_cp, chart));
    return terminal.candleSlice(chart, {wholeArg(call, 1), wholeArg(call, 2)});
}

Value infoParam(BuiltinCall& call) {
    const std::string name = upperCaseLatin(asText(call.arg(0), call.pos));
    const Moment& now = call.machine.terminal().now();
    if (name == "TRADEDATE")
        return Value(dateText(now.date));
    if (name == "SERVERTIME" || name == "LOCALTIME")
        return Value(timeText(now.time));
    call.machine.warnings().add(call.pos, cat("GET_INFO_PARAM: параметр "_cp, name, " не моделируется"_cp));
    return Value(std::string());
}

Value fileResult() {
    static const MapPtr ok = [] {
        auto map = makeMap();
        map->set("RESULT", Value(1.0));
        map->set("DESCRIPTION", Value(std::string()));
        return map;
    }();
    return ok;
}

Value writeTo(BuiltinCall& call, bool endLine) {
    std::string file, text;
    call.machine.terminal().write(textView(call.arg(0), file, call.pos),
                                  textView(call.arg(1), text, call.pos), endLine);
    return fileResult();
}

Value writeLine(BuiltinCall& call) {
    return writeTo(call, true);
}

Value writeText(BuiltinCall& call) {
    return writeTo(call, false);
}

Value clearFile(BuiltinCall& call) {
    call.machine.terminal().clearFile(asText(call.arg(0), call.pos));
    return fileResult();
}

Value message(BuiltinCall& call) {
    call.machine.terminal().message(asText(call.arg(0), call.pos));
    return Value(std::string());
}

MapPtr rowArg(BuiltinCall& call, std::string_view fn) {
    if (!call.arg(1).isMap())
        throw ScriptError(call.pos, cat(fn, ": второй аргумент не MAP"_cp));
    return call.arg(1).map();
}

// Row numbers start at 1; a row added at a number in use pushes the rows from there down by one.
Value addItem(BuiltinCall& call) {
    auto& rows = call.machine.terminal().rows();
    const int index = wholeArg(call, 0);
    MapPtr row = rowArg(call, "ADD_ITEM");
    if (index < 1) {
        call.machine.warnings().add(call.pos, "ADD_ITEM: номер строки меньше 1, строка не добавлена"_cp);
        return Value(std::string());
    }
    if (static_cast<std::size_t>(index) > rows.size() + 1)
        call.machine.warnings().add(
            call.pos, "ADD_ITEM: номер строки больше числа строк + 1, строка добавлена в конец"_cp);
    if (rows.size() >= call.machine.limits().items)
        throw ScriptError(call.pos, "таблица вывода больше допустимого"_cp);
    const std::size_t at = std::min<std::size_t>(index - 1, rows.size());
    rows.insert(rows.begin() + static_cast<long>(at), std::move(row));
    return Value(std::string());
}

Value modifyItem(BuiltinCall& call) {
    auto& rows = call.machine.terminal().rows();
    const int index = wholeArg(call, 0);
    MapPtr row = rowArg(call, "MODIFY_ITEM");
    if (index >= 1 && static_cast<std::size_t>(index) <= rows.size())
        rows[index - 1] = std::move(row);
    return Value(std::string());
}

Value deleteItem(BuiltinCall& call) {
    auto& rows = call.machine.terminal().rows();
    const int index = wholeArg(call, 0);
    if (index >= 1 && static_cast<std::size_t>(index) <= rows.size())
        rows.erase(rows.begin() + index - 1);
    return Value(std::string());
}

Value deleteAllItems(BuiltinCall& call) {
    call.machine.terminal().rows().clear();
    return Value(std::string());
}

Value numberOf(BuiltinCall& call) {
    if (upperCaseLatin(asText(call.arg(0), call.pos)) != "OWN")
        call.machine.warnings().add(call.pos, "GET_NUMBER_OF: моделируется только таблица OWN"_cp);
    return static_cast<double>(call.machine.terminal().rows().size());
}

Value getItem(BuiltinCall& call) {
    const auto& rows = call.machine.terminal().rows();
    const int index = wholeArg(call, 1);
    if (upperCaseLatin(asText(call.arg(0), call.pos)) != "OWN" || index < 1 ||
        static_cast<std::size_t>(index) > rows.size())
        return Value(std::string());
    return rows[index - 1];
}

Value isConnected(BuiltinCall&) {
    return 1.0;
}

constexpr Builtin kTerminal[] = {
    {"GET_CANDLE_EX", 3, 3, candleEx},   {"GET_INFO_PARAM", 1, 1, infoParam},
    {"WRITELN", 2, 2, writeLine},        {"WRITE", 2, 2, writeText},
    {"CLEAR_FILE", 1, 1, clearFile},     {"MESSAGE", 1, 2, message},
    {"ADD_ITEM", 2, 2, addItem},         {"MODIFY_ITEM", 2, 2, modifyItem},
    {"DELETE_ITEM", 1, 1, deleteItem},   {"DELETE_ALL_ITEMS", 0, 0, deleteAllItems},
    {"GET_NUMBER_OF", 1, 1, numberOf},   {"GET_ITEM", 2, 2, getItem},
    {"IS_CONNECTED", 0, 0, isConnected},
};
static_assert(fitsArgs(kTerminal));

} // namespace

std::span<const Builtin> terminalBuiltins() {
    return kTerminal;
}

} // namespace zorvant::sim
