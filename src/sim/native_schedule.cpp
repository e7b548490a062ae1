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

std::optional<LineRead> readLine(const std::vector<Value>& lines, double lineNumber,
                                 std::optional<std::string_view> key, std::size_t textLength) {
    LineRead read;
    if (!(static_cast<double>(lines.size()) > lineNumber))
        return read;
    if (lineNumber != std::floor(lineNumber) || lineNumber < 0 || !key)
        return std::nullopt;
    read.line = lines[static_cast<std::size_t>(lineNumber)];
    if (!read.line.isMap())
        return std::nullopt;
    std::string scratch;
    const auto value = native::numberAt(*read.line.map(), *key);
    const Value* nameFound = read.line.map()->find("NAME");
    const auto name =
        nameFound != nullptr ? native::textOf(*nameFound, scratch) : std::optional<std::string_view>("");
    if (!value || !name || name->size() > textLength)
        return std::nullopt;
    read.value = Value(*value);
    read.name = Value(*name);
    return read;
}

// What a call found and made. The same candle asked for again, with the same date, line, value and
// kind of period, gives the same maps: they are shared (copy on write) rather than made again.
struct Answer {
    // Held, so that no other candle map can take its address.
    MapPtr candle;
    double date = 0;
    double lineNumber = 0;
    std::string key;
    bool minutes = false;
    LineRead line;
    Value dt;
    Value res;
};

class Answers : public NativeMemory {
public:
    const Answer* find(const Answer& asked) const {
        for (const Answer& a : answers_)
            if (a.candle == asked.candle && a.date == asked.date && a.lineNumber == asked.lineNumber &&
                a.minutes == asked.minutes && a.key == asked.key)
                return &a;
        return nullptr;
    }
    const Answer& keep(Answer answer) {
        Answer& slot = answers_[next_];
        next_ = (next_ + 1) % answers_.size();
        return slot = std::move(answer);
    }

private:
    // A recalculation asks for a few candles, each for a line or two; the last two recalculations' fit.
    std::array<Answer, 16> answers_;
    std::size_t next_ = 0;
};

// The maps of the answer: the candle's date and time, and the value with its line's name.
void makeMaps(Answer& answer, double candleTime) {
    const auto dt = makeMap();
    dt->add(native::kDate, Value(answer.date));
    dt->add(native::kTime, Value(answer.minutes ? candleTime : 0.0));
    const auto res = makeMap();
    res->add(kDateTime, Value(dt));
    res->add(kValue, answer.line.value);
    res->add(kName, answer.line.name);
    answer.dt = Value(dt);
    answer.res = Value(res);
}

// GET_SHEDULE_MINUS(fp_Ind, fp_DateTime, fp_sPeriod, fp_Num_Line_Ind, fp_Param_Ind).
bool scheduleMinus(NativeCall& call) {
    std::string chartScratch, periodScratch, keyScratch;
    Value moment = *call.args[1];
    const auto chartId = native::textOf(*call.args[0], chartScratch);
    const auto period = native::textOf(*call.args[2], periodScratch);
    const auto date = native::numberAt(moment, "DATE");
    const auto time = native::numberAt(moment, "TIME");
    const auto lineNumber = native::plusZero(*call.args[3]);
    const auto key = native::textOf(*call.args[4], keyScratch);
    if (!chartId || !period || period->size() > call.textLength || !date || !time || !lineNumber ||
        call.terminal.chart(*chartId) == nullptr)
        return false;
    const Moment asked{wholeNumber(*date), wholeNumber(*time)};
    Answer wanted;
    wanted.candle = call.terminal.findSlice(*chartId, asked);
    const std::vector<Value>& lines = wanted.candle->find("LINES")->collection()->items;
    const auto candleTime = native::numberAt(*wanted.candle, "TIME");
    if (lines.empty() || !candleTime)
        return false;
    wanted.date = *date;
    wanted.lineNumber = *lineNumber;
    wanted.key = key.value_or("");
    wanted.minutes = !native::dayOrLonger(*period);
    auto& answers = static_cast<Answers&>(*call.memory);
    const Answer* answer = answers.find(wanted);
    if (answer == nullptr) {
        auto line = readLine(lines, *lineNumber, key, call.textLength);
        if (!line)
            return false;
        wanted.line = std::move(*line);
        makeMaps(wanted, *candleTime);
        answer = &answers.keep(std::move(wanted));
    }
    const bool hasLine = !answer->line.line.isUnset();
    const std::uint64_t steps = kStatements + (answer->minutes ? 0 : 1) + (hasLine ? kLineStatements : 0);
    if (steps > call.stepsLeft)
        return false;

    if (call.terminal.onCandleRequest)
        call.terminal.onCandleRequest(*chartId, asked);
    // The views above may point into arguments that are these very variables: read before written.
    Value periodText(*period);
    const double count = static_cast<double>(lines.size());
    call.variable(Per) = std::move(periodText);
    call.variable(Minutes).setNumber(answer->minutes ? 1 : 0);
    call.variable(Step).setNumber(0);
    call.variable(Prev) = std::move(moment);
    call.variable(Candle) = Value(answer->candle);
    call.variable(Count).setNumber(count);
    call.variable(Ctime).setNumber(*candleTime);
    call.variable(Found) = answer->line.value;
    call.variable(Name) = answer->line.name;
    if (hasLine)
        call.variable(Line) = answer->line.line;
    call.variable(Dt) = answer->dt;
    call.variable(Res) = answer->res;
    call.result = answer->res;
    call.steps = steps;
    return true;
}

std::unique_ptr<NativeMemory> makeAnswers() {
    return std::make_unique<Answers>();
}

constexpr NativeEntry kSchedule[] = {{"GET_SHEDULE_MINUS", scheduleMinus, kVariables, makeAnswers}};

} // namespace

std::span<const NativeEntry> scheduleNatives() {
    return kSchedule;
}

} // namespace zorvant::sim
