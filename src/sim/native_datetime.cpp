// The library's date and time FUNCs that every recalculation of a generated script runs, natively: the
// server's date and time as a map, a map so many minutes earlier, and a time as "ЧЧ:ММ:00". Each
// mirrors its text operation by operation, so that the numbers come out the same to the last bit.
#include "sim/calendar.h"
#include "sim/native_parts.h"
#include "sim/terminal.h"

#include <array>

namespace zorvant::sim {
namespace {

using native::ordinary;

MapPtr dateTimeMap(double date, double time) {
    auto map = makeMap();
    map->add(native::kDate, Value(date));
    map->add(native::kTime, Value(time));
    return map;
}

// datetime_minus(fp_map_datetime, fp_count_minutes) without the month before, which needs DayInMonth.
enum MinusVariable { MDate, MTime, MYear, MMonth, MDay, MHour, MMinute, MHours, MDays, MRes };
constexpr std::array<std::string_view, 10> kMinusVariables = {
    "DTM_DATE", "DTM_TIME", "DTM_Y1", "DTM_MO1", "DTM_D1", "DTM_H1", "DTM_M1", "DTM_H_", "DTM_D_", "DTM_RES"};

struct MinusRun {
    double values[kMinusVariables.size()] = {};
    bool hoursBack = false;
    bool daysBack = false;
    std::uint64_t steps = 0;
};

// Below zero, the smaller unit borrows from the larger as the text does (minutes from hours, hours
// from days): taken whole units and one more, then back to 0 if that makes a whole unit.
bool borrow(double& small, double& large, double& taken, double unit, std::uint64_t& steps) {
    if (!(small < 0))
        return false;
    taken = std::floor(std::fabs(small / unit));
    large = large - taken - 1;
    small = unit * (1 + taken) + small;
    steps += small == unit ? 6 : 4;
    if (small == unit) {
        large = large + 1;
        small = 0;
    }
    return true;
}

std::optional<MinusRun> minusMinutes(const Value& moment, double count) {
    const auto date = native::numberAt(moment, "DATE");
    const auto time = native::numberAt(moment, "TIME");
    if (!date || !time || !ordinary(count))
        return std::nullopt;
    MinusRun run;
    double& y1 = run.values[MYear];
    double& mo1 = run.values[MMonth];
    double& d1 = run.values[MDay];
    double& h1 = run.values[MHour];
    double& m1 = run.values[MMinute];
    y1 = std::floor(*date / 10000);
    mo1 = std::floor((*date - y1 * 10000) / 100);
    d1 = *date - (y1 * 10000 + mo1 * 100);
    h1 = std::floor(*time / 10000);
    m1 = std::floor((*time - h1 * 10000) / 100);
    m1 = m1 - (0 + count);
    run.steps = 9;
    run.hoursBack = borrow(m1, h1, run.values[MHours], 60, run.steps);
    ++run.steps;
    run.daysBack = borrow(h1, d1, run.values[MDays], 24, run.steps);
    if (d1 <= 0)
        return std::nullopt;
    run.steps += 5;
    run.values[MDate] = *date;
    run.values[MTime] = *time;
    return run;
}

Value resultOf(const MinusRun& run) {
    const double* v = run.values;
    return Value(
        dateTimeMap(v[MYear] * 10000 + v[MMonth] * 100 + v[MDay], v[MHour] * 10000 + v[MMinute] * 100));
}

// Leaves the run's values and its result in datetime_minus's variables.
void commitMinus(NativeCall& call, const MinusRun& run, const int* slots, const Value& res) {
    const double* v = run.values;
    for (int i = MDate; i <= MMinute; ++i)
        call.globals[static_cast<std::size_t>(slots[i])].setNumber(v[i]);
    if (run.hoursBack)
        call.globals[static_cast<std::size_t>(slots[MHours])].setNumber(v[MHours]);
    if (run.daysBack)
        call.globals[static_cast<std::size_t>(slots[MDays])].setNumber(v[MDays]);
    call.globals[static_cast<std::size_t>(slots[MRes])] = res;
}

bool dateTimeMinus(NativeCall& call) {
    const auto count = native::plusZero(*call.args[1]);
    const auto run = count ? minusMinutes(*call.args[0], *count) : std::nullopt;
    if (!run || run->steps > call.stepsLeft)
        return false;
    call.result = resultOf(*run);
    commitMinus(call, *run, call.slots, call.result);
    call.steps = run->steps;
    return true;
}

// datetime_minus_period(fp_datetime, fp_sPeriod) for periods of minutes; its own variables come first
// in its slots, then those of the datetime_minus it calls.
enum PeriodVariable { PPer, PDone, PRes, PMinus };
// Its own statements, around those of the datetime_minus it calls.
constexpr std::uint64_t kPeriodStatements = 9;
constexpr auto kPeriodVariables = [] {
    std::array<std::string_view, 3 + kMinusVariables.size()> names = {"DMP_PER", "DMP_DONE", "DMP_RES"};
    for (std::size_t i = 0; i < kMinusVariables.size(); ++i)
        names[3 + i] = kMinusVariables[i];
    return names;
}();

// The last few runs by their moment's map and period: a recalculation goes back from the same candle
// more than once, and from the one before again in the next. The moment's map is held, so it cannot
// change (copy on write), and the result is shared.
class PeriodRuns : public NativeMemory {
public:
    struct Run {
        Value moment;
        Value period;
        MinusRun run;
        Value result;
    };
    const Run* find(const Value& moment, std::string_view period) const {
        for (const Run& r : runs_)
            if (r.moment.isMap() && r.moment.map() == moment.map() && r.period.text() == period)
                return &r;
        return nullptr;
    }
    const Run& keep(const Value& moment, std::string_view period, const MinusRun& run) {
        Run& slot = runs_[next_];
        next_ = (next_ + 1) % runs_.size();
        slot.moment = moment;
        slot.period = Value(period);
        slot.run = run;
        slot.result = resultOf(run);
        return slot;
    }

private:
    std::array<Run, 8> runs_;
    std::size_t next_ = 0;
};

std::unique_ptr<NativeMemory> makePeriodRuns() {
    return std::make_unique<PeriodRuns>();
}

bool dateTimeMinusPeriod(NativeCall& call) {
    std::string scratch;
    const auto period = native::textOf(*call.args[1], scratch);
    if (!period || period->size() > call.textLength || native::dayOrLonger(*period))
        return false;
    auto& runs = static_cast<PeriodRuns&>(*call.memory);
    const PeriodRuns::Run* found = call.args[0]->isMap() ? runs.find(*call.args[0], *period) : nullptr;
    if (found == nullptr) {
        const auto count = native::plusZero(Value(*period));
        const auto run = count ? minusMinutes(*call.args[0], *count) : std::nullopt;
        if (!run || kPeriodStatements + run->steps > call.stepsLeft)
            return false;
        found = &runs.keep(*call.args[0], *period, *run);
    } else if (kPeriodStatements + found->run.steps > call.stepsLeft) {
        return false;
    }
    Value periodText(*period);
    call.result = found->result;
    commitMinus(call, found->run, call.slots + PMinus, call.result);
    call.variable(PPer) = std::move(periodText);
    call.variable(PDone).setNumber(0);
    call.variable(PRes) = call.result;
    call.steps = kPeriodStatements + found->run.steps;
    return true;
}

// GET_SERVER_DATETIME(): the digits of the server time, and the trade date's day, month and year.
enum ServerVariable {
    STime,
    SDigits,
    SIndex,
    SChar,
    SNumber,
    SDate,
    SDateNumber,
    SDot1,
    SDot2,
    SDay,
    SMonth,
    SYear,
    SRes
};
constexpr std::array<std::string_view, 13> kServerVariables = {
    "GSD_STIME", "GSD_DIGITS", "GSD_I",   "GSD_CH",    "GSD_TIME", "GSD_SDATE", "GSD_DATE",
    "GSD_P1",    "GSD_P2",     "GSD_DAY", "GSD_MONTH", "GSD_YEAR", "GSD_RES"};

// The numbers the text reads back from the server's time and date texts. Within the ranges where those
// texts have fixed widths, the digits read back are the numbers they were written from; outside them the
// texts are parsed as the script parses them.
struct ServerNumbers {
    std::optional<double> time, day, month, year;
};

ServerNumbers serverNumbers(const Moment& now, const std::string& digits, const std::string& date,
                            std::size_t dot1, std::size_t dot2) {
    if (now.time >= 0 && now.time <= 999999 && now.date >= 0 && now.date <= 99999999)
        return {now.time, now.date % 100, now.date / 100 % 100, now.date / 10000};
    return {native::plusZero(Value(digits)), native::plusZero(Value(date.substr(0, dot1))),
            native::plusZero(Value(date.substr(dot1 + 1, dot2 - dot1 - 1))),
            native::plusZero(Value(date.substr(dot2 + 1)))};
}

bool serverDateTime(NativeCall& call) {
    const Moment& now = call.terminal.now();
    const std::string time = timeText(now.time);
    const std::string date = dateText(now.date);
    std::string digits;
    for (const char c : time)
        if (c != ':')
            digits += c;
    const auto dot1 = date.find('.');
    const auto dot2 = dot1 == std::string::npos ? dot1 : date.find('.', dot1 + 1);
    if (time.empty() || dot2 == std::string::npos || date.size() > call.textLength ||
        time.size() > call.textLength)
        return false;
    const auto [number, day, month, year] = serverNumbers(now, digits, date, dot1, dot2);
    // The loop over the time's characters, then the statements around it.
    const std::uint64_t steps = 3 + 3 * time.size() + digits.size() + 1 + 15;
    if (!number || !day || !month || !year || steps > call.stepsLeft)
        return false;
    const double dateNumber = *year * 10000 + *month * 100 + *day;
    const MapPtr res = dateTimeMap(dateNumber, *number);
    call.variable(STime) = Value(time);
    call.variable(SDigits) = Value(digits);
    call.variable(SIndex).setNumber(static_cast<double>(time.size() - 1));
    call.variable(SChar) = Value(std::string_view(time).substr(time.size() - 1));
    call.variable(SNumber).setNumber(*number);
    call.variable(SDate) = Value(date);
    call.variable(SDateNumber).setNumber(dateNumber);
    call.variable(SDot1).setNumber(static_cast<double>(dot1));
    call.variable(SDot2).setNumber(static_cast<double>(dot2));
    call.variable(SDay).setNumber(*day);
    call.variable(SMonth).setNumber(*month);
    call.variable(SYear).setNumber(*year);
    call.variable(SRes) = Value(res);
    call.result = Value(res);
    call.steps = steps;
    return true;
}

// datetime_string(fp_map_datetime): "ЧЧ:ММ:00", with a leading zero below 10.
enum StringVariable { DTime, DHour, DMinute, DHourText, DMinuteText };
constexpr std::array<std::string_view, 5> kStringVariables = {"DS_TIME", "DS_H1", "DS_M1", "DS_SH", "DS_SM"};

std::string twoDigits(double n) {
    return n < 10 ? "0" + numberToText(n) : numberToText(n);
}

// The texts of the last time written out: a recalculation writes out the same time twice.
class LastTimeText : public NativeMemory {
public:
    struct Texts {
        bool made = false;
        double time = 0;
        Value hours, minutes, text;
    };
    // h1 and m1: the time's hours and minutes, as the text takes them.
    const Texts& of(double time, double h1, double m1) {
        if (!last_.made || time != last_.time) {
            const std::string hours = twoDigits(h1), minutes = twoDigits(m1);
            last_ = {true, time, Value(hours), Value(minutes), Value(hours + ":" + minutes + ":00")};
        }
        return last_;
    }

private:
    Texts last_;
};

std::unique_ptr<NativeMemory> makeLastTimeText() {
    return std::make_unique<LastTimeText>();
}

bool dateTimeString(NativeCall& call) {
    const auto time = native::numberAt(*call.args[0], "TIME");
    if (!time)
        return false;
    const double h1 = std::floor(*time / 10000);
    const double m1 = std::floor((*time - h1 * 10000) / 100);
    const LastTimeText::Texts& texts = static_cast<LastTimeText&>(*call.memory).of(*time, h1, m1);
    const std::uint64_t steps = 8 + (h1 < 10 ? 1 : 0) + (m1 < 10 ? 1 : 0);
    if (texts.text.text().size() > call.textLength || steps > call.stepsLeft)
        return false;
    call.variable(DTime).setNumber(*time);
    call.variable(DHour).setNumber(h1);
    call.variable(DMinute).setNumber(m1);
    call.variable(DHourText) = texts.hours;
    call.variable(DMinuteText) = texts.minutes;
    call.result = texts.text;
    call.steps = steps;
    return true;
}

constexpr NativeEntry kDateTime[] = {
    {"DATETIME_MINUS", dateTimeMinus, kMinusVariables},
    {"DATETIME_MINUS_PERIOD", dateTimeMinusPeriod, kPeriodVariables, makePeriodRuns},
    {"GET_SERVER_DATETIME", serverDateTime, kServerVariables},
    {"DATETIME_STRING", dateTimeString, kStringVariables, makeLastTimeText},
};

} // namespace

std::span<const NativeEntry> dateTimeNatives() {
    return kDateTime;
}

} // namespace zorvant::sim
