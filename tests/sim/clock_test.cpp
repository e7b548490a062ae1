#include "sim_support.h"

#include "platform/platform.h"
#include "sim/conversions.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::parseBody;
using testing::runAll;
using testing::series;

constexpr Period kFive{Period::Kind::Minutes, 5};
constexpr Period kHour{Period::Kind::Minutes, 60};

TEST(Clock, RecalculatesAtTheLastSecondOfEveryCandleOfTheShortestChart) {
    CandleStore store;
    store.addLine("HOUR", 0, series("H", kHour, 20090301, 100000, {1, 2}));
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 103000, {1, 2}));
    store.addLine("OTHER", 0, series("B", kFive, 20090301, 103500, {1, 2}));
    const auto moments = recalculationMoments(store);
    EXPECT_EQ(moments, (std::vector<Moment>{{20090301, 103459}, {20090301, 103959}, {20090301, 104459}}));

    CandleStore days;
    days.addLine("D", 0, series("D", Period{Period::Kind::Day, 0}, 20090227, 0, {1, 2, 3}));
    EXPECT_EQ(recalculationMoments(days),
              (std::vector<Moment>{{20090227, 235959}, {20090228, 235959}, {20090301, 235959}}));
    EXPECT_TRUE(recalculationMoments(CandleStore{}).empty());
}

TEST(Clock, ShowsTheCandleInProgressWithItsFinalValues) {
    CandleStore store;
    store.addLine("HOUR", 0, series("H", kHour, 20090301, 100000, {1, 5}));
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 105500, {1, 2, 3}));
    const Script script =
        parseBody("s = GET_CANDLE_EX(\"HOUR\", 20090301, 110000)\n"
                  "l = GET_COLLECTION_ITEM(GET_VALUE(s, \"LINES\"), 0)\n"
                  "WRITELN(\"f\", GET_INFO_PARAM(\"TRADEDATE\") & \" \" & GET_VALUE(s, \"COUNT\") & \" \" _\n"
                  "   & GET_VALUE(l, \"CLOSE\"))");
    EXPECT_EQ(runAll(script, store),
              (std::vector<std::string>{"10:59:59 01.03.2009 0 ", "11:04:59 01.03.2009 1 5",
                                        "11:09:59 01.03.2009 1 5"}));
}

TEST(Clock, GivesTheServerTimeAndTradeDateAsTheTerminalWritesThem) {
    CandleStore store;
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 93500, {1}));
    const Script script =
        parseBody("WRITELN(\"f\", GET_INFO_PARAM(\"SERVERTIME\") & \" \" & GET_INFO_PARAM(\"tradedate\"))");
    EXPECT_EQ(runAll(script, store), std::vector<std::string>{"09:39:59 09:39:59 01.03.2009"});
}

// Written digit by digit, with printf's forms for values outside the usual ranges.
TEST(Clock, WritesDatesAndTimesAsPrintfWould) {
    for (const int value : {20090302, 10000101, 99991231, 0, 5, 100000000, -20090302, -1, 2147483647}) {
        char date[32], time[32];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", value % 100, value / 100 % 100, value / 10000);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", value / 10000, value / 100 % 100, value % 100);
        EXPECT_EQ(dateText(value), date) << value;
        EXPECT_EQ(timeText(value), time) << value;
    }
    EXPECT_EQ(timeText(235959), "23:59:59");
    EXPECT_EQ(timeText(999999), "99:99:99");
}

TEST(Clock, CapturesWrittenLinesWithoutTouchingTheHostsFiles) {
    zorvant::testing::TempFolder folder;
    const std::string file = folder.file("mess.txt");
    CandleStore store;
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 103000, {1, 2}));
    const Script script =
        parseBody(std::string("file_name = \"") + text::toUtf8(file) +
                  "\"\nWRITE(file_name, \"a\")\nWRITELN(file_name, \"b\")\nCLEAR_FILE(file_name)");
    Simulation simulation(script, store);
    simulation.recalculateAt({20090301, 103459});
    ASSERT_EQ(simulation.terminal().written().size(), 1u);
    EXPECT_EQ(simulation.terminal().written()[0].text, "AB");
    EXPECT_FALSE(platform::plainFileExists(file));
    EXPECT_FALSE(platform::plainFileExists(upperCase(file)));
}

TEST(Clock, StopsAtTheFirstFaultAndKeepsWhatWasWritten) {
    CandleStore store;
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 103000, {1, 2, 3}));
    const Script script = parseBody("new_global(\"n\", 0)\nn = n + 1\nWRITELN(\"f\", n)\nx = 1 / (2 - n)");
    const RunResult result = runScript(script, store);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->moment, (Moment{20090301, 103959}));
    EXPECT_EQ(result.error->error.pos().line, 7);
    EXPECT_EQ(result.recalculations, 1u);
    EXPECT_EQ(result.lines.size(), 2u);
}

TEST(Clock, HandsOverEachWritingRecalculationAndStopsWhenCancelled) {
    CandleStore store;
    store.addLine("FIVE", 0, series("A", kFive, 20090301, 103000, {1, 2, 3, 4, 5}));
    // Writes on every second recalculation; x keeps the value of the recalculation that wrote.
    const Script script = parseBody("new_global(\"n\", 0)\nn = n + 1\nx = n * 10\n"
                                    "IF n / 2 = FLOOR(n / 2)\n  WRITELN(\"f\", n)\nEND IF");
    std::vector<double> seen;
    int asked = 0;
    RunOptions options;
    options.linesWritten = [&](const Simulation& simulation, std::size_t written) {
        EXPECT_EQ(written, 1u);
        seen.push_back(simulation.variable("X")->number());
    };
    options.cancelled = [&] { return ++asked > 4; };
    const RunResult result = runScript(script, store, options);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.recalculations, 4u);
    EXPECT_EQ(seen, (std::vector<double>{20, 40}));
    EXPECT_EQ(result.lines.size(), 2u);
}

} // namespace
} // namespace zorvant::sim
