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
    double count = 0;
    double candleTime = 0;
    LineRead line;
    Value dt;
    Value res;
    // Which answer this is, for those who remember where it lay; 0 for an empty slot.
    std::uint64_t serial = 0;

    bool answers(const MapData* c, double d, double n, std::string_view k, bool m) const {
        return candle.get() == c && date == d && lineNumber == n && minutes == m && key == k;
    }
};

// A call's arguments as they stood, at one moment of the clock: the same arguments then get the same
// answer without being read again. The moment's map is held, so it cannot change (copy on write).
struct Asked {
    Value chart, moment, period, key;
    double lineNumber = 0;
    long long now = -1;
    Moment at;
    std::size_t answer = 0;
    std::uint64_t serial = 0;

    // map: the call's moment's map, which a call without one never gets here with.
    bool same(const NativeCall& call, const MapData* map) const {
        const Value& n = *call.args[3];
        return moment.isMap() && moment.map().get() == map && n.isNumber() && n.number() == lineNumber &&
               sameText(*call.args[0], chart) && sameText(*call.args[2], period) &&
               sameText(*call.args[4], key) && call.terminal.now().key() == now;
    }
    static bool sameText(const Value& a, const Value& b) { return a.isText() && a.text() == b.text(); }
};

class Answers : public NativeMemory {
public:
    const Answer* find(const MapData* candle, double date, double line, std::string_view key, bool minutes) {
        for (std::size_t i = 0; i < answers_.size(); ++i)
            if (answers_[i].answers(candle, date, line, key, minutes))
                return &answers_[i];
        return nullptr;
    }
    // An answer whose date and time map another may share.
    const Answer* sameCandle(const Answer& made) const {
        for (const Answer& a : answers_)
            if (a.candle == made.candle && a.date == made.date && a.minutes == made.minutes)
                return &a;
        return nullptr;
    }
    // Never over an answer whose writes are pending.
    const Answer& keep(Answer answer) {
        while (pending_.any && (next_ == pending_.answer || (pending_.line && next_ == pending_.lineAnswer)))
            next_ = (next_ + 1) % answers_.size();
        answer.serial = ++serial_;
        Answer& slot = answers_[next_];
        next_ = (next_ + 1) % answers_.size();
        return slot = std::move(answer);
    }

    // The answer to the same arguments at the same moment, and the moment it asked the terminal for.
    const Answer* recall(const NativeCall& call, Moment& at) const {
        if (!call.args[1]->isMap())
            return nullptr;
        const MapData* map = call.args[1]->map().get();
        for (const Asked& asked : asked_)
            if (asked.same(call, map) && asked.serial != 0 && answers_[asked.answer].serial == asked.serial) {
                at = asked.at;
                return &answers_[asked.answer];
            }
        return nullptr;
    }
    void remember(const NativeCall& call, const Moment& at, const Answer& answer) {
        const Value& line = *call.args[3];
        if (!call.args[0]->isText() || !call.args[1]->isMap() || !line.isNumber() ||
            !call.args[2]->isText() || !call.args[4]->isText())
            return;
        Asked& asked = asked_[nextAsked_];
        nextAsked_ = (nextAsked_ + 1) % asked_.size();
        // Field by field: texts of a few characters are copied in place.
        asked.chart = *call.args[0];
        asked.moment = *call.args[1];
        asked.period = *call.args[2];
        asked.key = *call.args[4];
        asked.lineNumber = line.number();
        asked.now = call.terminal.now().key();
        asked.at = at;
        asked.answer = index(answer);
        asked.serial = answer.serial;
    }

    // The variables as this call leaves them, written now or at the machine's flush. The period is a
    // text or a number, as the call was answered.
    void leave(NativeCall& call, const Answer& answer) {
        pending_.any = true;
        pending_.answer = index(answer);
        const Value& period = *call.args[2];
        pending_.period = period.isText() ? period : Value(numberToText(period.number()));
        pending_.moment = *call.args[1];
        if (!answer.line.line.isUnset()) {
            pending_.line = true;
            pending_.lineAnswer = pending_.answer;
        }
        call.deferred = call.mayDefer;
        if (!call.mayDefer)
            flush(call.globals, call.slots);
    }

    void flush(std::span<Value> globals, const int* slots) override {
        if (!pending_.any)
            return;
        const auto variable = [&](int which) -> Value& {
            return globals[static_cast<std::size_t>(slots[which])];
        };
        const Answer& answer = answers_[pending_.answer];
        variable(Per) = std::move(pending_.period);
        variable(Minutes).setNumber(answer.minutes ? 1 : 0);
        variable(Step).setNumber(0);
        variable(Prev) = std::move(pending_.moment);
        variable(Candle) = Value(answer.candle);
        variable(Count).setNumber(answer.count);
        variable(Ctime).setNumber(answer.candleTime);
        variable(Found) = answer.line.value;
        variable(Name) = answer.line.name;
        if (pending_.line)
            variable(Line) = answers_[pending_.lineAnswer].line.line;
        variable(Dt) = answer.dt;
        variable(Res) = answer.res;
        pending_.any = pending_.line = false;
    }

private:
    std::size_t index(const Answer& answer) const {
        return static_cast<std::size_t>(&answer - answers_.data());
    }

    // A recalculation asks for a few candles, each for a line or two; the last two recalculations' fit.
    std::array<Answer, 16> answers_;
    std::size_t next_ = 0;
    std::uint64_t serial_ = 0;
    std::array<Asked, 8> asked_;
    std::size_t nextAsked_ = 0;
    struct Pending {
        bool any = false;
        bool line = false;
        std::size_t answer = 0;
        std::size_t lineAnswer = 0;
        Value period;
        Value moment;
    } pending_;
};

// The maps of the answer: the candle's date and time, shared with another answer for the same candle
// where there is one, and the value with its line's name.
void makeMaps(Answer& answer, const Answer* sameCandle) {
    Value dt;
    if (sameCandle != nullptr) {
        dt = sameCandle->dt;
    } else {
        const auto map = makeMap();
        map->add(native::kDate, Value(answer.date));
        map->add(native::kTime, Value(answer.minutes ? answer.candleTime : 0.0));
        dt = Value(map);
    }
    const auto res = makeMap();
    res->add(kDateTime, dt);
    res->add(kValue, answer.line.value);
    res->add(kName, answer.line.name);
    answer.dt = std::move(dt);
    answer.res = Value(res);
}

std::uint64_t statementsOf(const Answer& answer) {
    return kStatements + (answer.minutes ? 0 : 1) + (answer.line.line.isUnset() ? 0 : kLineStatements);
}

// The answer to a call not seen before: nullptr where the text must run.
const Answer* answerAnew(NativeCall& call, Answers& answers, Moment& asked) {
    std::string chartScratch, periodScratch, keyScratch;
    const Value& moment = *call.args[1];
    const auto chartId = native::textOf(*call.args[0], chartScratch);
    const auto period = native::textOf(*call.args[2], periodScratch);
    const auto date = native::numberAt(moment, "DATE");
    const auto time = native::numberAt(moment, "TIME");
    const auto lineNumber = native::plusZero(*call.args[3]);
    const auto key = native::textOf(*call.args[4], keyScratch);
    if (!chartId || !period || period->size() > call.textLength || !date || !time || !lineNumber ||
        call.terminal.chart(*chartId) == nullptr)
        return nullptr;
    asked = {wholeNumber(*date), wholeNumber(*time)};
    MapPtr candle = call.terminal.findSlice(*chartId, asked);
    const bool minutes = !native::dayOrLonger(*period);
    // An answer is only made for a candle with lines and a time. A key that is no text is left to
    // readLine, which declines it where the text would read with it.
    if (key)
        if (const Answer* found = answers.find(candle.get(), *date, *lineNumber, *key, minutes))
            return found;
    const std::vector<Value>& lines = candle->find("LINES")->collection()->items;
    const auto candleTime = native::numberAt(*candle, "TIME");
    if (lines.empty() || !candleTime)
        return nullptr;
    auto line = readLine(lines, *lineNumber, key, call.textLength);
    if (!line)
        return nullptr;
    Answer made;
    made.candle = std::move(candle);
    made.date = *date;
    made.lineNumber = *lineNumber;
    made.key = key.value_or("");
    made.minutes = minutes;
    made.count = static_cast<double>(lines.size());
    made.candleTime = *candleTime;
    made.line = std::move(*line);
    makeMaps(made, answers.sameCandle(made));
    return &answers.keep(std::move(made));
}

// GET_SHEDULE_MINUS(fp_Ind, fp_DateTime, fp_sPeriod, fp_Num_Line_Ind, fp_Param_Ind).
bool scheduleMinus(NativeCall& call) {
    auto& answers = static_cast<Answers&>(*call.memory);
    Moment asked;
    const Answer* answer = answers.recall(call, asked);
    const bool recalled = answer != nullptr;
    if (!recalled && (answer = answerAnew(call, answers, asked)) == nullptr)
        return false;
    const std::uint64_t steps = statementsOf(*answer);
    if (steps > call.stepsLeft)
        return false;
    if (call.terminal.onCandleRequest) {
        std::string chartScratch;
        call.terminal.onCandleRequest(*native::textOf(*call.args[0], chartScratch), asked);
    }
    if (!recalled)
        answers.remember(call, asked, *answer);
    answers.leave(call, *answer);
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
