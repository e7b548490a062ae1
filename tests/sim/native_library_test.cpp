// The helper library's FUNCs run natively must be indistinguishable from their text: after every
// recalculation the same lines, warnings, statements counted, faults and variables, whether the native
// version did the work or declined it.
#include "list_builder.h"
#include "portfolio_support.h"

#include "conditions/labels.h"
#include "qpl/library.h"
#include "sim/native_library.h"
#include "sim/simulation.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>
#include <random>

namespace zorvant::sim {
namespace {

namespace labels = conditions::labels;
using zorvant::testing::addCondition;
using zorvant::testing::addOperation;
using zorvant::testing::ChartPart;
using zorvant::testing::currentPart;
using zorvant::testing::ValueLevel;

bool sameValue(const Value& a, const Value& b) {
    if (a.isNumber() || b.isNumber())
        return a.isNumber() && b.isNumber() && a.number() == b.number();
    if (a.isText() || b.isText())
        return a.isText() && b.isText() && a.text() == b.text();
    if (a.isMap() && b.isMap()) {
        const auto x = a.map()->entries(), y = b.map()->entries();
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto& p, const auto& q) {
            return p.key.text() == q.key.text() && sameValue(p.value, q.value);
        });
    }
    if (a.isCollection() && b.isCollection())
        return std::equal(a.collection()->items.begin(), a.collection()->items.end(),
                          b.collection()->items.begin(), b.collection()->items.end(), sameValue);
    return a.isUnset() && b.isUnset();
}

// What one recalculation left behind, as far as anyone can see it.
struct Seen {
    std::string fault;
    std::uint64_t steps = 0;
    std::vector<std::string> lines;
    std::vector<std::string> warnings;
};

Seen recalculate(Simulation& simulation, const Moment& moment) {
    Seen seen;
    try {
        simulation.recalculateAt(moment);
    } catch (const ScriptError& error) {
        seen.fault = error.what();
    }
    seen.steps = simulation.machine().steps();
    for (const auto& line : simulation.terminal().written())
        seen.lines.push_back(line.text);
    for (const auto& w : simulation.machine().warnings().entries())
        seen.warnings.push_back(w.text + " @" + std::to_string(w.first.line) + " x" +
                                std::to_string(w.count));
    return seen;
}

// Runs the script natively and as written side by side, comparing after every recalculation.
void expectSameRuns(const Script& script, const CandleStore& store, const std::vector<Moment>& moments,
                    Limits limits = {}) {
    Simulation native(script, store, limits), written(script, store, limits);
    written.machine().useNativeLibrary(false);
    for (const Moment& moment : moments) {
        const Seen a = recalculate(native, moment), b = recalculate(written, moment);
        const std::string at = std::to_string(moment.date) + " " + std::to_string(moment.time);
        ASSERT_EQ(a.fault, b.fault) << at;
        ASSERT_EQ(a.steps, b.steps) << at;
        ASSERT_EQ(a.lines, b.lines) << at;
        ASSERT_EQ(a.warnings, b.warnings) << at;
        for (const std::string& name : script.globals) {
            const Value* x = native.variable(name);
            const Value* y = written.variable(name);
            ASSERT_TRUE(x == nullptr ? y == nullptr : y != nullptr && sameValue(*x, *y))
                << name << " at " << at;
        }
    }
}

std::size_t nativeCount(const Script& script) {
    const auto natives = nativeFunctions(script);
    return static_cast<std::size_t>(std::count_if(natives.begin(), natives.end(),
                                                  [](const NativeFunction& n) { return n.fn != nullptr; }));
}

// Three trading days of 1-minute candles with a gap for lunch, two lines, and a daily chart.
CandleStore history() {
    std::mt19937 random(11);
    std::normal_distribution<double> step(0, 0.3);
    ChartLine price{"SBER", {Period::Kind::Minutes, 1}, {}};
    ChartLine average{"MA", {Period::Kind::Minutes, 1}, {}};
    ChartLine days{"SBER", {Period::Kind::Day, 1}, {}};
    double close = 100, ma = 100;
    for (const int date : {20090227, 20090302, 20090303}) {
        for (int minute = 10 * 60 + 30; minute < 18 * 60 + 45; ++minute) {
            if (minute >= 13 * 60 && minute < 13 * 60 + 30)
                continue;
            const double open = close;
            close = std::round((open + step(random)) * 10) / 10;
            ma += (close - ma) / 20;
            const Moment start{date, minute / 60 * 10000 + minute % 60 * 100};
            price.candles.push_back({start, open, std::max(open, close), std::min(open, close), close, 10});
            average.candles.push_back({start, ma, ma, ma, ma, 0});
        }
        days.candles.push_back({{date, 0}, 100, close + 1, close - 1, close, 1000});
    }
    CandleStore store;
    store.addLine("PRICE", 0, std::move(price));
    store.addLine("PRICE", 1, std::move(average));
    store.addLine("DAYS", 0, std::move(days));
    return store;
}

// Every minute candle's last second, and moments off the trading day.
std::vector<Moment> moments(const CandleStore& store) {
    std::vector<Moment> all = recalculationMoments(store);
    all.insert(all.end(),
               {{20090302, 0}, {20090302, 95959}, {20090302, 131500}, {20090303, 235959}, {20090301, 0}});
    return all;
}

TEST(NativeLibrary, GeneratedPortfoliosRunAsTheirText) {
    const CandleStore store = history();
    conditions::ConditionList list;
    addOperation(list, "(");
    addCondition(list, currentPart("1 МИН", "PRICE", "0"), labels::kCrossesUp,
                 currentPart("1 МИН", "PRICE", "1"));
    addOperation(list, text::fromUtf8("И"));
    addCondition(list, currentPart("1 МИН", "PRICE", "0"), labels::kGreater, ValueLevel{"100"});
    addOperation(list, text::fromUtf8(") ИЛИ"));
    addCondition(list, currentPart("1 МИН", "PRICE", "0"), labels::kTurns);
    addOperation(list, text::fromUtf8("ИЛИ"));
    ChartPart previous = currentPart("5 МИН", "PRICE", "0");
    previous.time = labels::kPreviousValue;
    addCondition(list, previous, labels::kAbovePrevious);
    addOperation(list, text::fromUtf8("ИЛИ"));
    addCondition(list, currentPart("ДЕНЬ", "DAYS", "0"), labels::kRisingCandle);
    for (const bool compressed : {false, true}) {
        const Script script = testing::generatedScript(list, compressed);
        EXPECT_EQ(nativeCount(script), 5u);
        expectSameRuns(script, store, moments(store));
    }
}

// The helper library with a body of its own calls, read like a generated script.
Script libraryWith(std::string_view utf8Body) {
    return parseScript(std::string("PORTFOLIO_EX T;\r\nPROGRAM\r\n") + std::string(qpl::libraryText()) +
                       "\r\nBEGINDAY = 103000\r\nCLOSEDAY = 184500\r\nd = GET_SERVER_DATETIME()\r\n" +
                       text::fromUtf8(utf8Body) + "\r\nEND_PROGRAM\r\nEND_PORTFOLIO_EX\r\n");
}

std::string at(int date, int time) {
    return "SET_VALUE(SET_VALUE(CREATE_MAP(), \"date\", " + std::to_string(date) + "), \"time\", " +
           std::to_string(time) + ")";
}

TEST(NativeLibrary, OddCallsGiveWhatTheTextGives) {
    const CandleStore store = history();
    const std::vector<Moment> when = {
        {20090302, 103559}, {20090302, 0}, {20090303, 184459}, {20090302, 131000}};
    const std::string calls[] = {
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", \"1\", \"OPEN\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, 1, 5, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 0.5, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", -1, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", \"x\", \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 0, \"NOSUCH\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 0, \"\")\r\nr = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", "
        "0, d)",
        "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"DAY\", 0, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"DAYS\", d, \"DAY\", 0, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"NONE\", d, \"1\", 0, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", \"d\", \"1\", 0, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", " + at(20090302, 0) + ", \"1\", 0, \"CLOSE\")",
        "r = GET_SHEDULE_MINUS(\"PRICE\", " + at(20090302, 125900) + ", \"1\", 0, \"CLOSE\")",
        "r = datetime_minus_period(d, \"abc\")",
        "r = datetime_minus_period(d, \"WEEK\")",
        "r = datetime_minus_period(d, 90)",
        "r = datetime_minus_period(" + at(20090302, 0) + ", \"1\")",
        "r = datetime_minus_period(" + at(20090301, 0) + ", \"1\")",
        "r = datetime_minus(" + at(20090302, 100000) + ", 60)",
        "r = datetime_minus(" + at(20090302, 100000) + ", \"15\")",
        "r = datetime_minus(5, 1)",
        "r = datetime_string(" + at(20090302, 93000) + ") & datetime_string(d)",
        "r = datetime_string(\"x\")",
        "r = GET_SERVER_DATETIME()",
        "r = datetime_minus_period(q, \"1\")",
    };
    for (const std::string& call : calls) {
        SCOPED_TRACE(call);
        expectSameRuns(libraryWith(call), store, when);
    }
}

// GET_SHEDULE_MINUS leaves its variables to be written when something may read them, and gives a call
// with the same arguments as an earlier one of the recalculation that call's answer.
TEST(NativeLibrary, VariablesLeftForLaterAreThereWhenRead) {
    const CandleStore store = history();
    const std::vector<Moment> when = {{20090302, 103559}, {20090302, 131000}, {20090302, 103659}};
    const std::string first = "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 1, \"OPEN\")\r\n";
    const std::string bodies[] = {
        // Named by the body: written at once.
        first + "x = gsm_line & gsm_res & gsm_prev",
        first + "x = datetime_string(gsm_dt)",
        // The text run after them reads them; a call without the line leaves the earlier one's.
        first + "r = GET_SHEDULE_MINUS(\"PRICE\", " + at(20090302, 125900) + ", \"1\", 0, \"CLOSE\")",
        first + "r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 9, \"CLOSE\")",
        first + "NEW_GLOBAL(\"gsm_res\", 0)",
        first + "x = SET_VALUE(5, \"a\", 1)",
        "FUNC f()\r\n  result = gsm_value\r\nEND FUNC\r\n" + first + "x = f()",
        // The same arguments again, before and after the moment's map changes.
        first + first + "d = SET_VALUE(d, \"time\", 103000)\r\n" + first + "x = gsm_prev",
    };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        expectSameRuns(libraryWith(body), store, when);
    }
    // A moment's map kept across recalculations, asked for again when the clock stands before its
    // candle: the answer of the later moment is not given again.
    expectSameRuns(libraryWith("NEW_GLOBAL(\"kept\", d)\r\n"
                               "r = GET_SHEDULE_MINUS(\"PRICE\", kept, \"1\", 0, \"CLOSE\")"),
                   store, {{20090302, 103659}, {20090302, 103559}});
}

TEST(NativeLibrary, LimitsStopTheRunWhereTheTextStops) {
    const CandleStore store = history();
    const Script script = libraryWith("r = GET_SHEDULE_MINUS(\"PRICE\", d, \"1\", 0, \"CLOSE\")\r\n"
                                      "r = datetime_minus_period(d, \"1\")");
    for (const std::uint64_t steps : {40u, 80u, 90u, 100u}) {
        Limits limits;
        limits.steps = steps;
        expectSameRuns(script, store, {{20090302, 103559}}, limits);
    }
    for (const int depth : {1, 2}) {
        Limits limits;
        limits.callDepth = depth;
        expectSameRuns(script, store, {{20090302, 103559}}, limits);
    }
    Limits shortTexts;
    shortTexts.textLength = 4;
    expectSameRuns(script, store, {{20090302, 103559}}, shortTexts);
}

TEST(NativeLibrary, AChangedFunctionRunsAsWritten) {
    std::string library(qpl::libraryText());
    const auto at = library.find("dtm_m1 = dtm_m1 - (0 + fp_count_minutes)");
    ASSERT_NE(at, std::string::npos);
    library.replace(at, 0, "dtm_m1 = dtm_m1 - 1\r\n  ");
    const Script script =
        parseScript("PORTFOLIO_EX T;\r\nPROGRAM\r\n" + library + "\r\nEND_PROGRAM\r\nEND_PORTFOLIO_EX\r\n");
    const auto natives = nativeFunctions(script);
    // GET_SHEDULE_MINUS calls datetime_minus in its searches back, so it runs as written too.
    for (std::size_t i = 0; i < script.functions.size(); ++i) {
        const std::string& name = script.functions[i].name;
        if (name == "GET_SERVER_DATETIME" || name == "DATETIME_STRING")
            EXPECT_NE(natives[i].fn, nullptr) << name;
        else
            EXPECT_EQ(natives[i].fn, nullptr) << name;
    }
}

} // namespace
} // namespace zorvant::sim
