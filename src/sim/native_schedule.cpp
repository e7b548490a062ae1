// GET_SHEDULE_MINUS run natively when its first request finds the candle: the value of a line at a
// moment, the way every condition of a generated script reads it. A candle that is not there sends the
// text on to its searches backwards, which the machine runs as written.
#include "sim/native_parts.h"
#include "sim/terminal.h"

#include <array>

namespace zorvant::sim {
namespace {

enum Variable { Per, Minutes, Step, Prev, Candle, Count, Ctime, Found, Name, Line, Dt, Res };
constexpr std::array<std::string_view, 12> kVariables = {
    "GSM_PER",   "GSM_MINUTES", "GSM_STEP", "GSM_PREV", "GSM_CANDLE", "GSM_COUNT",
    "GSM_CTIME", "GSM_VALUE",   "GSM_NAME", "GSM_LINE", "GSM_DT",     "GSM_RES"};

const Value kDateTime{std::string_view("DATETIME")};
const Value kValue{std::string_view("VALUE")};
const Value kName{std::string_view("NAME")};

// Statements of the text when the first request finds the candle, with the line asked for or without.
constexpr std::uint64_t kStatements = 26;
constexpr std::uint64_t kLineStatements = 3;

// What the line asked for holds: its value (0 when the candle has no such line) and its name.
struct LineRead {
    Value line;
    Value value{0.0};
    Value name{std::string_view()};
};

std::optional<LineRead> readLine(const NativeCall& call, const std::vector<Value>& lines, double lineNumber) {
    LineRead read;
    if (!(static_cast<double>(lines.size()) > lineNumber))
        return read;
    if (lineNumber != std::floor(lineNumber) || lineNumber < 0)
        return std::nullopt;
    read.line = lines[static_cast<std::size_t>(lineNumber)];
    std::string keyScratch, nameScratch;
    const auto key = native::textOf(*call.args[4], keyScratch);
    if (!key || !read.line.isMap())
        return std::nullopt;
    const auto value = native::numberAt(*read.line.map(), *key);
    const Value* nameFound = read.line.map()->find("NAME");
    const auto name =
        nameFound != nullptr ? native::textOf(*nameFound, nameScratch) : std::optional<std::string_view>("");
    if (!value || !name || name->size() > call.textLength)
        return std::nullopt;
    read.value = Value(*value);
    read.name = Value(*name);
    return read;
}

// GET_SHEDULE_MINUS(fp_Ind, fp_DateTime, fp_sPeriod, fp_Num_Line_Ind, fp_Param_Ind).
bool scheduleMinus(NativeCall& call) {
    std::string chartScratch, periodScratch;
    const Value moment = *call.args[1];
    const auto chartId = native::textOf(*call.args[0], chartScratch);
    const auto period = native::textOf(*call.args[2], periodScratch);
    const auto date = native::numberAt(moment, "DATE");
    const auto time = native::numberAt(moment, "TIME");
    const auto lineNumber = native::plusZero(*call.args[3]);
    if (!chartId || !period || period->size() > call.textLength || !date || !time || !lineNumber ||
        call.terminal.chart(*chartId) == nullptr)
        return false;
    const Moment asked{wholeNumber(*date), wholeNumber(*time)};
    const MapPtr candle = call.terminal.findSlice(*chartId, asked);
    const std::vector<Value>& lines = candle->find("LINES")->collection()->items;
    const auto candleTime = native::numberAt(*candle, "TIME");
    if (lines.empty() || !candleTime)
        return false;
    const auto line = readLine(call, lines, *lineNumber);
    if (!line)
        return false;
    const bool minutes = !native::dayOrLonger(*period);
    const std::uint64_t steps =
        kStatements + (minutes ? 0 : 1) + (line->line.isUnset() ? 0 : kLineStatements);
    if (steps > call.stepsLeft)
        return false;

    if (call.terminal.onCandleRequest)
        call.terminal.onCandleRequest(*chartId, asked);
    const auto dt = makeMap();
    dt->set(native::kDate, Value(*date));
    dt->set(native::kTime, Value(minutes ? *candleTime : 0.0));
    const auto res = makeMap();
    res->set(kDateTime, Value(dt));
    res->set(kValue, line->value);
    res->set(kName, line->name);
    // The views above may point into arguments that are these very variables: read before written.
    Value periodText(*period);
    call.variable(Per) = std::move(periodText);
    call.variable(Minutes) = Value(minutes ? 1.0 : 0.0);
    call.variable(Step) = Value(0.0);
    call.variable(Prev) = moment;
    call.variable(Candle) = Value(candle);
    call.variable(Count) = Value(static_cast<double>(lines.size()));
    call.variable(Ctime) = Value(*candleTime);
    call.variable(Found) = line->value;
    call.variable(Name) = line->name;
    if (!line->line.isUnset())
        call.variable(Line) = line->line;
    call.variable(Dt) = Value(dt);
    call.variable(Res) = Value(res);
    call.result = Value(res);
    call.steps = steps;
    return true;
}

constexpr NativeEntry kSchedule[] = {{"GET_SHEDULE_MINUS", scheduleMinus, kVariables}};

} // namespace

std::span<const NativeEntry> scheduleNatives() {
    return kSchedule;
}

} // namespace zorvant::sim
