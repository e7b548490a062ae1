#include "sim_support.h"

#include "sim/candle_file.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::candle;
using testing::Outcome;
using testing::runOnce;
using testing::series;

constexpr Period kFive{Period::Kind::Minutes, 5};

TEST(CandleFile, ReadsTheExportLayoutWithOrWithoutHeader) {
    const ChartLine withHeader =
        parseCandleFile("<TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\r\n"
                        "SBER,5,20090301,103000,10,12,9,11,100\r\n"
                        "SBER,5,20090301,103500,11,13.5,10.25,12.5,200\r\n",
                        "a.txt");
    EXPECT_EQ(withHeader.name, "SBER");
    EXPECT_EQ(withHeader.period, kFive);
    ASSERT_EQ(withHeader.candles.size(), 2u);
    EXPECT_EQ(withHeader.candles[1].start, (Moment{20090301, 103500}));
    EXPECT_EQ(withHeader.candles[1].high, 13.5);
    EXPECT_EQ(withHeader.candles[1].low, 10.25);
    EXPECT_EQ(withHeader.candles[1].volume, 200);

    const ChartLine semicolons =
        parseCandleFile("GAZP;D;20090302;000000;1,5;2,5;1;2;7\nGAZP;D;20090303;0;2;3;2;3;7\n", "b.txt");
    EXPECT_EQ(semicolons.period.kind, Period::Kind::Day);
    ASSERT_EQ(semicolons.candles.size(), 2u);
    EXPECT_EQ(semicolons.candles[0].open, 1.5);
    EXPECT_EQ(semicolons.candles[1].start, (Moment{20090303, 0}));
}

TEST(CandleFile, NamesTheFileAndLineOfABadLine) {
    const std::string good = "SBER,5,20090301,103000,10,12,9,11,100\n";
    const std::pair<std::string, const char*> cases[] = {
        {good + "SBER,5,20090301,103500,10,12,9,11\n", "строка 2: ожидалось 9 полей"},
        {good + "SBER,5,20090230,103500,10,12,9,11,1\n", "строка 2: неверная дата"},
        {good + "SBER,5,20090301,250000,10,12,9,11,1\n", "строка 2: неверное время"},
        {good + "SBER,5,20090301,103700,10,12,9,11,1\n", "строка 2: время свечи не на границе интервала"},
        {good + "SBER,5,20090301,103000,10,12,9,11,1\n", "строка 2: свечи должны идти по возрастанию"},
        {good + "SBER,15,20090301,104500,10,12,9,11,1\n", "строка 2: интервал <PER> не тот"},
        {good + "GAZP,5,20090301,103500,10,12,9,11,1\n", "строка 2: тикер не тот"},
        {good + "SBER,5,20090301,103500,10,12,9,abc,1\n", "строка 2: не число: abc"},
        {good + "SBER,5,20090301,103500,10,9,12,11,1\n", "строка 2: цены свечи противоречат"},
        {"SBER,0,20090301,103000,10,12,9,11,100\n", "строка 1: неверный интервал"},
        {"<TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\n", "в файле нет свечей"},
    };
    for (const auto& [bytes, reason] : cases) {
        try {
            parseCandleFile(bytes, "data.txt");
            ADD_FAILURE() << "no error for " << bytes;
        } catch (const Error& error) {
            const std::string message = text::toUtf8(error.what());
            EXPECT_EQ(message.rfind("data.txt: ", 0), 0u) << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
    }
}

TEST(CandleStore, KeepsChartsByIdentifierWithNumberedLines) {
    zorvant::testing::TempFolder folder;
    folder.write("ma.txt", "MA,5,20090301,103000,10,10,10,10,0\n");
    CandleStore store;
    store.addLine("Price", 0, series("SBER", kFive, 20090301, 103000, {1, 2}));
    store.loadFile("PRICE", 1, folder.file("ma.txt"));
    ASSERT_NE(store.find("price"), nullptr);
    EXPECT_EQ(store.find("price")->lines.size(), 2u);
    EXPECT_EQ(store.find("PRICE")->lines[1].name, "MA");
    EXPECT_EQ(store.find("PRICE2"), nullptr);
    EXPECT_NO_THROW(store.checkComplete());

    EXPECT_THROW(store.addLine("PRICE", 1, series("X", kFive, 20090301, 103000, {1})), Error);
    EXPECT_THROW(
        store.addLine("PRICE", 2, series("X", Period{Period::Kind::Minutes, 15}, 20090301, 103000, {1})),
        Error);
    store.addLine("Other", 1, series("X", kFive, 20090301, 103000, {1}));
    EXPECT_THROW(store.checkComplete(), Error);
    EXPECT_THROW(store.loadFile("PRICE", 3, folder.file("missing.txt")), Error);
}

std::string sliceText(const CandleStore& store, std::string_view call, Moment now = {20090302, 235959}) {
    const auto outcome = runOnce(std::string("s = ") + std::string(call) +
                                     "\n"
                                     "ls = GET_VALUE(s, \"LINES\")\n"
                                     "t = GET_VALUE(s, \"COUNT\") & \"|\" & GET_VALUE(s, \"TIME\") & \"|\" & "
                                     "GET_COLLECTION_COUNT(ls)\n"
                                     "FOR i FROM 0 TO GET_COLLECTION_COUNT(ls) - 1\n"
                                     "  l = GET_COLLECTION_ITEM(ls, i)\n"
                                     "  t = t & \"|\" & GET_VALUE(l, \"name\") & \" \" & GET_VALUE(l, "
                                     "\"open\") & \" \" & GET_VALUE(l, \"high\")\n"
                                     "  t = t & \" \" & GET_VALUE(l, \"low\") & \" \" & GET_VALUE(l, "
                                     "\"close\") & \" \" & GET_VALUE(l, \"volume\")\n"
                                     "END FOR\n"
                                     "WRITELN(\"f\", t)",
                                 store, now);
    return outcome.lines.empty() ? "" : outcome.lines[0];
}

TEST(CandleRequests, RoundTheTimeDownToTheChartsInterval) {
    CandleStore store;
    store.addLine("PRICE", 0, {"SBER", kFive, {candle(20090301, 103500, 11, 13, 10, 12)}});
    store.addLine("PRICE", 1, {"MA", kFive, {candle(20090301, 103500, 7, 7, 7, 7)}});
    store.addLine("HOUR", 0,
                  {"H", Period{Period::Kind::Minutes, 60}, {candle(20090301, 160000, 1, 3, 1, 2)}});
    store.addLine("DAYS", 0, {"D", Period{Period::Kind::Day, 0}, {candle(20090302, 0, 5, 6, 4, 5)}});
    store.addLine("WEEKS", 0, {"W", Period{Period::Kind::Week, 0}, {candle(20090302, 0, 5, 6, 4, 5)}});
    store.addLine("MONTHS", 0, {"M", Period{Period::Kind::Month, 0}, {candle(20090202, 0, 5, 6, 4, 5)}});

    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"price\", 20090301, 103759)"),
              "2|103500|2|SBER 11 13 10 12 100|MA 7 7 7 7 100");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 20090301, 103500)"),
              "2|103500|2|SBER 11 13 10 12 100|MA 7 7 7 7 100");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"HOUR\", 20090301, 163700)"), "1|160000|1|H 1 3 1 2 100");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"DAYS\", 20090302, 123456)"), "1|0|1|D 5 6 4 5 100");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"WEEKS\", 20090308, 0)"), "1|0|1|W 5 6 4 5 100");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"WEEKS\", 20090309, 0)"), "0||0");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"MONTHS\", 20090227, 0)"), "1|0|1|M 5 6 4 5 100");
    // No candle there, a moment that is none, or a chart that does not exist: COUNT 0 and no lines.
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 20090301, 103459)"), "0||0");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 20090301, 106000)"), "0||0");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 0, -5)"), "0||0");
    const auto unknown = runOnce(
        "s = GET_CANDLE_EX(\"NOCHART\", 20090301, 103500)\nWRITELN(\"f\", GET_VALUE(s, \"COUNT\"))", store);
    EXPECT_EQ(unknown.lines, std::vector<std::string>{"0"});
    EXPECT_EQ(unknown.warnings.countContaining("NOCHART"), 1u);
}

TEST(CandleRequests, SeeOnlyCandlesThatHaveStarted) {
    CandleStore store;
    store.addLine("PRICE", 0, series("SBER", kFive, 20090301, 103000, {1, 2, 3}));
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 20090301, 103500)", {20090301, 103459}), "0||0");
    EXPECT_EQ(sliceText(store, "GET_CANDLE_EX(\"PRICE\", 20090301, 103500)", {20090301, 103500}),
              "1|103500|1|SBER 1 2 1 2 100");
}

// Two charts with candles at the same times, one started later: each request gets its own chart's
// candle, however the terminal keeps the candles it has made.
TEST(CandleRequests, ChartsWithCandlesAtTheSameTimesKeepTheirOwn) {
    std::vector<double> early(40), late(33);
    for (std::size_t i = 0; i < early.size(); ++i)
        early[i] = static_cast<double>(i + 1);
    for (std::size_t i = 0; i < late.size(); ++i)
        late[i] = static_cast<double>(i + 101);
    CandleStore store;
    store.addLine("A", 0, series("A", {Period::Kind::Minutes, 1}, 20090301, 100000, early));
    store.addLine("B", 0, series("B", {Period::Kind::Minutes, 1}, 20090301, 100700, late));
    const Outcome outcome =
        runOnce("for m from 7 to 39\n"
                "  a = GET_CANDLE_EX(\"A\", 20090301, 100000 + m * 100)\n"
                "  b = GET_CANDLE_EX(\"B\", 20090301, 100000 + m * 100)\n"
                "  WRITELN(\"f\", GET_VALUE(GET_COLLECTION_ITEM(GET_VALUE(b, \"LINES\"), 0), \"CLOSE\") _\n"
                "    - GET_VALUE(GET_COLLECTION_ITEM(GET_VALUE(a, \"LINES\"), 0), \"CLOSE\"))\n"
                "end for",
                store, {20090301, 103959});
    // B's candle at minute m closes at m + 94, A's at m + 1.
    EXPECT_EQ(outcome.lines, std::vector<std::string>(33, "93"));
}

// The index of days must find what a search of the whole line finds: lines with missing days and
// minutes, moments before the first candle and after the last, every kind of interval.
TEST(CandleRequests, TheIndexOfDaysFindsWhatASearchOfTheWholeLineFinds) {
    const auto searched = [](const ChartLine& line, const Moment& moment) {
        int found = -1;
        for (std::size_t i = 0; i < line.candles.size(); ++i) {
            const Moment start = line.candles[i].start;
            const bool same =
                line.period.kind == Period::Kind::Minutes
                    ? start.date == moment.date && secondsOfDay(start.time) / 60 / line.period.minutes ==
                                                       secondsOfDay(moment.time) / 60 / line.period.minutes
                : line.period.kind == Period::Kind::Day ? start.date == moment.date
                : line.period.kind == Period::Kind::Week
                    ? dayNumber(start.date) <= dayNumber(moment.date) &&
                          dayNumber(moment.date) < dayNumber(start.date) + 7
                    : start.date / 100 == moment.date / 100 && start.date <= moment.date;
            if (same)
                found = static_cast<int>(i);
        }
        return found;
    };
    const auto thinned = [](ChartLine line, int keepEvery) {
        std::vector<Candle> kept;
        for (std::size_t i = 0; i < line.candles.size(); ++i)
            if (i % static_cast<std::size_t>(keepEvery) != 1)
                kept.push_back(line.candles[i]);
        line.candles = kept;
        return line;
    };
    CandleStore store;
    store.addLine("M5", 0, thinned(series("A", kFive, 20090302, 235000, std::vector<double>(600, 1)), 7));
    store.addLine(
        "H1", 0,
        thinned(series("B", {Period::Kind::Minutes, 60}, 20090227, 0, std::vector<double>(90, 1)), 5));
    store.addLine("D", 0,
                  thinned(series("C", {Period::Kind::Day, 0}, 20090225, 0, std::vector<double>(40, 1)), 3));
    store.addLine("W", 0,
                  thinned(series("D", {Period::Kind::Week, 0}, 20090105, 0, std::vector<double>(12, 1)), 4));
    store.addLine("MO", 0,
                  {"E",
                   {Period::Kind::Month, 0},
                   {candle(20081201, 0, 1, 1, 1, 1), candle(20090101, 0, 1, 1, 1, 1),
                    candle(20090301, 0, 1, 1, 1, 1)}});
    for (const Chart& chart : store.charts())
        for (int day = 20081130; day <= 20090410; ++day) {
            if (!isValidDate(day))
                continue;
            for (const int time : {0, 4959, 103500, 103759, 235959}) {
                const int expected = searched(chart.lines[0], {day, time});
                // A guess, right, near or far, never changes the answer.
                for (const int guess : {-1, 0, expected - 1, expected, expected + 1, expected + 2, 100000})
                    EXPECT_EQ(store.candleAt(chart, 0, {day, time}, guess), expected)
                        << chart.id << " " << day << " " << time << " guess " << guess;
            }
        }
}

} // namespace
} // namespace zorvant::sim
