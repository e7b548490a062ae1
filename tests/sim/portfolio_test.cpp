#include "list_builder.h"
#include "portfolio_support.h"

#include "conditions/labels.h"
#include "sim/simulation.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

namespace labels = conditions::labels;
using sim::testing::firing;
using sim::testing::fiveMinuteCloses;
using sim::testing::fiveMinuteLine;
using sim::testing::generatedScript;
using sim::testing::Ohlc;
using zorvant::testing::addCondition;
using zorvant::testing::addOperation;
using zorvant::testing::ChartPart;
using zorvant::testing::currentPart;
using zorvant::testing::SecondPart;
using zorvant::testing::ValueLevel;

// Candles 0 and 1 are history; the portfolio is recalculated from candle 2 on.
constexpr int kFirst = 2;

// Around the level 100: a touch, a gap up, a gap down and a close on the level.
const std::vector<Ohlc> kAroundLevel = {
    {90, 92, 89, 91},     {91, 95, 90, 94},     {94, 98, 93, 97}, {97, 101, 96, 99},  {99, 99.5, 98, 99},
    {103, 105, 102, 104}, {104, 106, 103, 105}, {98, 99, 97, 98}, {98, 101, 97, 100},
};

// PRICE against the line MA: crossings up and down, touches and equal closes.
const std::vector<Ohlc> kAroundLine = {
    {10, 10, 10, 10},       {10, 10.5, 9.5, 10},    {10, 12, 10, 12},
    {12, 12.5, 11.5, 12},   {12, 12, 10, 10.5},     {10.5, 11, 10, 10.8},
    {10.8, 12, 10.7, 11.5}, {11.5, 11.6, 10.9, 11}, {11, 11.2, 10.6, 10.9},
};
const std::vector<double> kLine = {11, 11, 11, 12, 11, 11, 11, 11, 10.5};

// Closes with a peak, a flat trough, a flat top and a flat dip.
const std::vector<double> kTurning = {5, 6, 7, 6, 6, 6, 7, 8, 7, 7, 8};

struct ActionCase {
    std::string_view action;
    SecondPart operand;
    std::vector<int> fires;
};

std::vector<int> fires(const ActionCase& c, const std::vector<Ohlc>& price) {
    conditions::ConditionList list;
    addCondition(list, currentPart("5 МИН", "PRICE"), c.action, c.operand);
    const Script script = generatedScript(list);
    CandleStore store;
    store.addLine("PRICE", 0, fiveMinuteLine("SBER", price));
    store.addLine("MA", 0, fiveMinuteCloses("MA", kLine));
    return firing(script, store, store.find("PRICE")->lines[0], kFirst).candles;
}

TEST(GeneratedPortfolio, EachActionAgainstAValueLevelFiresWhereItHolds) {
    const ValueLevel level{"100"};
    const ActionCase cases[] = {
        {labels::kGreater, level, {5, 6}},
        {labels::kGreaterOrEqual, level, {5, 6, 8}},
        {labels::kLess, level, {2, 3, 4, 7}},
        {labels::kLessOrEqual, level, {2, 3, 4, 7, 8}},
        {labels::kEqual, level, {8}},
        // The range holds the level (3, 8), a gap over it from below (5) or from above (7).
        {labels::kCrosses, level, {3, 5, 7, 8}},
        {labels::kCrossesUp, level, {3, 5, 8}},
        {labels::kCrossesDown, level, {7}},
    };
    for (const ActionCase& c : cases)
        EXPECT_EQ(fires(c, kAroundLevel), c.fires) << text::toUtf8(c.action);
}

TEST(GeneratedPortfolio, EachActionAgainstAChartLineFiresWhereItHolds) {
    const ChartPart ma = currentPart("5 МИН", "MA");
    const ActionCase cases[] = {
        {labels::kGreater, ma, {2, 6, 8}},
        {labels::kGreaterOrEqual, ma, {2, 3, 6, 7, 8}},
        {labels::kLess, ma, {4, 5}},
        {labels::kLessOrEqual, ma, {3, 4, 5, 7}},
        {labels::kEqual, ma, {3, 7}},
        {labels::kCrosses, ma, {2, 3, 5, 6, 7}},
        // Closed over the line after being under it (2, 6); a rising candle through it would count too.
        {labels::kCrossesUp, ma, {2, 6}},
        // Closed on or under the line after being over it (3, 7), or a falling candle from over it (4).
        {labels::kCrossesDown, ma, {3, 4, 7}},
    };
    for (const ActionCase& c : cases)
        EXPECT_EQ(fires(c, kAroundLine), c.fires) << text::toUtf8(c.action);
}

TEST(GeneratedPortfolio, EachActionOnOneLineFiresWhereItHolds) {
    const ActionCase candles[] = {
        {labels::kRisingCandle, {}, {2, 5, 6}},
        {labels::kFallingCandle, {}, {4, 7, 8}},
        {labels::kAbovePrevious, {}, {2, 5, 6}},
        {labels::kBelowPrevious, {}, {4, 7, 8}},
    };
    for (const ActionCase& c : candles)
        EXPECT_EQ(fires(c, kAroundLine), c.fires) << text::toUtf8(c.action);

    std::vector<Ohlc> turning;
    double open = kTurning.front();
    for (const double close : kTurning) {
        turning.push_back({open, std::max(open, close), std::min(open, close), close});
        open = close;
    }
    // A flat stretch is stepped over: the candle before it decides (5, 6, 9, 10).
    const ActionCase turns[] = {
        {labels::kTurnsUp, {}, {6, 10}},
        {labels::kTurnsDown, {}, {3, 8}},
        {labels::kTurns, {}, {3, 4, 5, 6, 8, 9, 10}},
    };
    for (const ActionCase& c : turns)
        EXPECT_EQ(fires(c, turning), c.fires) << text::toUtf8(c.action);
}

TEST(GeneratedPortfolio, APreviousValueOperandLooksOneCandleBack) {
    conditions::ConditionList list;
    ChartPart previous = currentPart("5 МИН", "PRICE");
    previous.time = std::string(labels::kPreviousValue);
    addCondition(list, previous, labels::kGreater, ValueLevel{"100"});
    CandleStore store;
    store.addLine("PRICE", 0, fiveMinuteLine("SBER", kAroundLevel));
    EXPECT_EQ(firing(generatedScript(list), store, store.find("PRICE")->lines[0], kFirst).candles,
              (std::vector<int>{6, 7}));

    conditions::ConditionList againstPrevious;
    ChartPart maBefore = currentPart("5 МИН", "MA");
    maBefore.time = std::string(labels::kPreviousValue);
    addCondition(againstPrevious, currentPart("5 МИН", "PRICE"), labels::kGreater, maBefore);
    store.addLine("MA", 0, fiveMinuteCloses("MA", {100, 100, 90, 99, 100, 100, 104, 104, 104}));
    // PRICE's close above MA's close of the candle before.
    EXPECT_EQ(firing(generatedScript(againstPrevious), store, store.find("PRICE")->lines[0], kFirst).candles,
              (std::vector<int>{3, 5, 6}));
}

TEST(GeneratedPortfolio, WritesOneLinePerCandleHoweverOftenItRecalculates) {
    conditions::ConditionList list;
    addCondition(list, currentPart("5 МИН", "PRICE"), labels::kGreater, ValueLevel{"100"});
    CandleStore store;
    store.addLine("PRICE", 0, fiveMinuteCloses("SBER", {101, 102, 99, 103}));
    ChartLine minutes = fiveMinuteCloses("FAST", std::vector<double>(20, 1));
    minutes.period = Period{Period::Kind::Minutes, 1};
    for (std::size_t i = 0; i < minutes.candles.size(); ++i)
        minutes.candles[i].start.time = timeOfSeconds(11 * 3600 + static_cast<int>(i) * 60);
    store.addLine("FAST", 0, minutes);
    const RunResult result = runScript(generatedScript(list), store);
    ASSERT_FALSE(result.error.has_value());
    EXPECT_EQ(result.recalculations, 20u);
    std::vector<int> times;
    for (const auto& line : result.lines)
        times.push_back(line.moment.time);
    EXPECT_EQ(times, (std::vector<int>{110059, 110559, 111559}));
}

// Two days of hourly candles, over 100 only at 11:00, so nothing is written in between: a daily and an
// hourly condition both write once on each day, and the same hour of the next day is a new candle.
TEST(GeneratedPortfolio, WritesOncePerCandleOnEachOfTwoDays) {
    ChartLine hours{"SBER", Period{Period::Kind::Minutes, 60}, {}};
    for (const int date : {20090302, 20090303})
        for (const auto& [time, close] : {std::pair{110000, 101.0}, {120000, 99.0}, {130000, 99.0}})
            hours.candles.push_back({{date, time}, close, close, close, close, 1});
    CandleStore store;
    store.addLine("HOURS", 0, hours);
    store.addLine("DAYS", 0,
                  {"SBER",
                   Period{Period::Kind::Day, 0},
                   {{{20090302, 0}, 99, 102, 98, 101, 1}, {{20090303, 0}, 101, 103, 100, 102, 1}}});
    const std::array<const char*, 3> cases[] = {{"ДЕНЬ", "DAYS", "SBER DAY БОЛЬШЕ  100 11:59:00"},
                                                {"1 ЧАС", "HOURS", "SBER 60 БОЛЬШЕ  100 11:59:00"}};
    for (const auto& [interval, chart, firstLine] : cases) {
        conditions::ConditionList list;
        addCondition(list, currentPart(interval, chart), labels::kGreater, ValueLevel{"100"});
        const RunResult result = runScript(generatedScript(list), store);
        ASSERT_FALSE(result.error.has_value());
        ASSERT_EQ(result.lines.size(), 2u) << interval;
        EXPECT_EQ(result.lines[0].moment, (Moment{20090302, 115959}));
        EXPECT_EQ(result.lines[1].moment, (Moment{20090303, 115959}));
        EXPECT_EQ(text::toUtf8(result.lines[0].text), firstLine);
    }
}

// Conditions: 1 PRICE > 100, 2 MA < 50, 3 MA > 80.
CandleStore threeConditionCandles() {
    CandleStore store;
    store.addLine("PRICE", 0, fiveMinuteCloses("SBER", {99, 99, 101, 101, 99, 99, 101, 99}));
    store.addLine("MA", 0, fiveMinuteCloses("MA", {60, 60, 40, 60, 40, 90, 90, 60}));
    return store;
}

void addThree(conditions::ConditionList& list, std::string_view first, std::string_view second,
              std::string_view third) {
    if (!first.empty())
        addOperation(list, first);
    addCondition(list, currentPart("5 МИН", "PRICE"), labels::kGreater, ValueLevel{"100"});
    addOperation(list, second);
    addCondition(list, currentPart("5 МИН", "MA"), labels::kLess, ValueLevel{"50"});
    addOperation(list, third);
    addCondition(list, currentPart("5 МИН", "MA"), labels::kGreater, ValueLevel{"80"});
}

TEST(GeneratedPortfolio, CombinesConditionsWithAndOrAndBrackets) {
    const CandleStore store = threeConditionCandles();
    const ChartLine& clock = store.find("PRICE")->lines[0];
    conditions::ConditionList grouped;
    addThree(grouped, "(", text::fromUtf8("И"), text::fromUtf8(") ИЛИ"));
    EXPECT_EQ(firing(generatedScript(grouped), store, clock, kFirst).candles, (std::vector<int>{2, 5, 6}));

    conditions::ConditionList tail;
    addThree(tail, "", text::fromUtf8("И ("), text::fromUtf8("ИЛИ"));
    addOperation(tail, ")");
    EXPECT_EQ(firing(generatedScript(tail), store, clock, kFirst).candles, (std::vector<int>{2, 6}));

    conditions::ConditionList allOf;
    addThree(allOf, "", text::fromUtf8("И"), text::fromUtf8("ИЛИ"));
    const auto expanded = firing(generatedScript(allOf), store, clock, kFirst);
    EXPECT_EQ(expanded.candles, (std::vector<int>{2, 5, 6}));
    // The fragments of the conditions that hold, joined by "; ", then the server time.
    ASSERT_EQ(expanded.lines.size(), 3u);
    EXPECT_EQ(expanded.lines[0], "SBER 5 БОЛЬШЕ  100; MA 5 МЕНЬШЕ  50 11:14:00");
    EXPECT_EQ(expanded.lines[2], "SBER 5 БОЛЬШЕ  100; MA 5 БОЛЬШЕ  80 11:34:00");
}

TEST(GeneratedPortfolio, CompressedModeWritesTheFixedTextWithTheTime) {
    const CandleStore store = threeConditionCandles();
    conditions::ConditionList list;
    addThree(list, "", text::fromUtf8("ИЛИ"), text::fromUtf8("ИЛИ"));
    const Script script = generatedScript(list, true);
    Simulation simulation(script, store);
    simulation.recalculateAt({20090302, 111459});
    ASSERT_EQ(simulation.terminal().written().size(), 1u);
    // The merge lines still add "; " and the fragment that this mode never assigns, for each condition
    // that holds (here 1 and 2); constants are upper-cased as the terminal does.
    EXPECT_EQ(text::toUtf8(simulation.terminal().written()[0].text), "БИРЖА ЗОВЕТ!; ;  11:14:00");
    EXPECT_EQ(simulation.machine().warnings().countContaining("MESS1"), 1u);
    EXPECT_EQ(simulation.machine().warnings().countContaining("MESS2"), 1u);
}

} // namespace
} // namespace zorvant::sim
