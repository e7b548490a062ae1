#include "sim_support.h"

#include "qpl/library.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::series;

constexpr Period kFive{Period::Kind::Minutes, 5};

// The helper library run as the generated script runs it: after it, BEGINDAY and CLOSEDAY, then body.
class LibraryRun {
public:
    explicit LibraryRun(std::string_view utf8Body, const CandleStore& store = {})
        : script_(parseScript(std::string("PORTFOLIO_EX T;\r\nPROGRAM\r\n") +
                              std::string(qpl::libraryText()) +
                              "\r\nBEGINDAY = 103000\r\nCLOSEDAY = 184500\r\n" + text::fromUtf8(utf8Body) +
                              "\r\nEND_PROGRAM\r\nEND_PORTFOLIO_EX\r\n")),
          store_(store), simulation_(script_, store_) {
        simulation_.terminal().onCandleRequest = [this](std::string_view, const Moment& m) {
            requests.push_back(m);
        };
    }

    std::vector<std::string> at(Moment now) {
        simulation_.recalculateAt(now);
        std::vector<std::string> lines;
        for (const auto& line : simulation_.terminal().written())
            lines.push_back(text::toUtf8(line.text));
        simulation_.terminal().written().clear();
        return lines;
    }
    const Warnings& warnings() { return simulation_.machine().warnings(); }

    std::vector<Moment> requests;

private:
    Script script_;
    // A copy: the store passed may be a temporary, and the simulation reads it for as long as it runs.
    CandleStore store_;
    Simulation simulation_;
};

std::string value(std::string_view expression) {
    LibraryRun run(std::string("WRITELN(\"f\", ") + std::string(expression) + ")");
    const auto lines = run.at({20090301, 120000});
    EXPECT_EQ(run.warnings().total(), 0u) << expression;
    return lines.size() == 1 ? lines[0] : "<no line>";
}

// A date-time map and how a result map reads.
std::string dateTime(int date, int time) {
    return "SET_VALUE(SET_VALUE(CREATE_MAP(), \"date\", " + std::to_string(date) + "), \"time\", " +
           std::to_string(time) + ")";
}
std::string shown(std::string_view mapExpression) {
    return "GET_VALUE(" + std::string(mapExpression) + ", \"date\") & \" \" & GET_VALUE(" +
           std::string(mapExpression) + ", \"time\")";
}

TEST(Library, DayInMonthCountsEveryFourthYearFrom2008AsLeap) {
    EXPECT_EQ(value("DayInMonth(2, 2008)"), "29");
    EXPECT_EQ(value("DayInMonth(2, 2012)"), "29");
    EXPECT_EQ(value("DayInMonth(2, 2000)"), "29");
    EXPECT_EQ(value("DayInMonth(2, 2100)"), "29");
    EXPECT_EQ(value("DayInMonth(2, 2009)"), "28");
    std::string months;
    for (int m = 1; m <= 12; ++m)
        months += value("DayInMonth(" + std::to_string(m) + ", 2009)") + " ";
    EXPECT_EQ(months, "31 28 31 30 31 30 31 31 30 31 30 31 ");
}

TEST(Library, DateMinusDayStepsBackOverMonthAndYearEnds) {
    EXPECT_EQ(value("date_minus_day(20090301)"), "20090228");
    EXPECT_EQ(value("date_minus_day(20090101)"), "20081231");
    EXPECT_EQ(value("date_minus_day(20080301)"), "20080229");
    EXPECT_EQ(value("date_minus_day(20090316)"), "20090315");
}

TEST(Library, DatetimeMinusBorrowsFromHourDayAndMonth) {
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090301, 100500) + ", 10)")), "20090301 95500");
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090301, 500) + ", 10)")), "20090228 235500");
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090301, 100000) + ", 60)")), "20090301 90000");
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090301, 100000) + ", 0)")), "20090301 100000");
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090115, 103000) + ", 240)")), "20090115 63000");
    EXPECT_EQ(value(shown("datetime_minus(" + dateTime(20090101, 10000) + ", 125)")), "20081231 225500");
}

TEST(Library, DatetimeStringShowsHoursAndMinutesWithZeroSeconds) {
    EXPECT_EQ(value("datetime_string(" + dateTime(20090301, 93500) + ")"), "09:35:00");
    EXPECT_EQ(value("datetime_string(" + dateTime(20090301, 93527) + ")"), "09:35:00");
    EXPECT_EQ(value("datetime_string(" + dateTime(20090301, 184500) + ")"), "18:45:00");
    EXPECT_EQ(value("datetime_string(" + dateTime(20090301, 5) + ")"), "00:00:00");
}

TEST(Library, DateTimeNowFindsTheStartOfTheCandleOrOnePeriodBack) {
    const std::string at1037 = dateTime(20090301, 103712);
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"15\")")), "20090301 103000");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"60\")")), "20090301 100000");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"240\")")), "20090301 100000");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"5\")")), "20090301 103500");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"1\")")), "20090301 103700");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"DAY\")")), "20090228 103712");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"WEEK\")")), "20090222 103712");
    EXPECT_EQ(value(shown("DateTime_now(" + at1037 + ", \"MONTH\")")), "20090201 103712");
}

TEST(Library, PeriodStepsAndTheServerDateTime) {
    const std::string at = dateTime(20090301, 100500);
    EXPECT_EQ(value(shown("datetime_minus_period(" + at + ", \"5\")")), "20090301 100000");
    EXPECT_EQ(value(shown("datetime_minus_period(" + at + ", \"DAY\")")), "20090228 100500");
    EXPECT_EQ(value(shown("datetime_minus_period(" + at + ", \"WEEK\")")), "20090222 100500");
    EXPECT_EQ(value(shown("datetime_minus_period(" + at + ", \"MONTH\")")), "20090201 100500");
    EXPECT_EQ(value(shown("datetime_minus_month(" + dateTime(20090115, 0) + ", 1)")), "20081215 0");
    EXPECT_EQ(value(shown("datetime_minus_day(" + dateTime(20090305, 7) + ", 7)")), "20090226 7");
    EXPECT_EQ(value("add_time(103500, 30) & \" \" & add_time(103500, -40)"), "110500 95500");
    LibraryRun run("dt = GET_SERVER_DATETIME()\nWRITELN(\"f\", " + shown("dt") + ")");
    EXPECT_EQ(run.at({20090302, 93507}), std::vector<std::string>{"20090302 93507"});
}

std::string valueMap(std::string_view call) {
    return "r = " + std::string(call) +
           "\nd = GET_VALUE(r, \"datetime\")\nWRITELN(\"f\", GET_VALUE(r, \"Name\") & \" \" & " +
           "GET_VALUE(r, \"value\") & \" \" & " + shown("d") + ")";
}

std::vector<int> times(const std::vector<Moment>& moments) {
    std::vector<int> out;
    for (const auto& m : moments)
        out.push_back(m.time);
    return out;
}

TEST(Library, GetSheduleMinusFindsTheCandleAtTheMoment) {
    CandleStore store;
    store.addLine("PRICE", 0, series("SBER", kFive, 20090302, 103000, {10, 11, 12}));
    LibraryRun run(
        valueMap("GET_SHEDULE_MINUS(\"PRICE\", " + dateTime(20090302, 103712) + ", \"5\", 0, \"CLOSE\")"),
        store);
    EXPECT_EQ(run.at({20090302, 104459}), std::vector<std::string>{"SBER 11 20090302 103500"});
    EXPECT_EQ(times(run.requests), std::vector<int>{103712});
}

TEST(Library, GetSheduleMinusAfterCloseDayAsksForTheCandleAtCloseDay) {
    CandleStore store;
    store.addLine("PRICE", 0, series("SBER", kFive, 20090302, 183000, {10, 11, 12, 13}));
    LibraryRun run(
        valueMap("GET_SHEDULE_MINUS(\"PRICE\", " + dateTime(20090302, 190712) + ", \"5\", 0, \"CLOSE\")"),
        store);
    EXPECT_EQ(run.at({20090302, 235959}), std::vector<std::string>{"SBER 13 20090302 184500"});
    // The moment, the candle's start, one period back (seconds dropped), then CLOSEDAY and the candle one
    // step after it, which is none.
    EXPECT_EQ(times(run.requests), (std::vector<int>{190712, 190500, 190200, 184500, 185000, 184500}));

    CandleStore early;
    early.addLine("PRICE", 0, series("SBER", kFive, 20090302, 183000, {10, 11, 12}));
    LibraryRun shorter(
        valueMap("GET_SHEDULE_MINUS(\"PRICE\", " + dateTime(20090302, 190712) + ", \"5\", 0, \"HIGH\")"),
        early);
    EXPECT_EQ(shorter.at({20090302, 235959}), std::vector<std::string>{"SBER 12 20090302 184000"});
    EXPECT_EQ(times(shorter.requests), (std::vector<int>{190712, 190500, 190200, 184500, 184000}));
}

TEST(Library, GetSheduleMinusBeforeBeginDayTakesCloseDayOfTheDayBefore) {
    CandleStore store;
    store.addLine("PRICE", 0, series("SBER", kFive, 20090301, 183500, {10, 11, 12}));
    LibraryRun run(
        valueMap("GET_SHEDULE_MINUS(\"PRICE\", " + dateTime(20090302, 93000) + ", \"5\", 0, \"CLOSE\")"),
        store);
    EXPECT_EQ(run.at({20090302, 93459}), std::vector<std::string>{"SBER 12 20090301 184500"});
    ASSERT_GE(run.requests.size(), 4u);
    EXPECT_EQ(run.requests[3], (Moment{20090301, 184500}));
}

TEST(Library, GetSheduleMinusOnAChartWithoutCandlesEndsAfterTheBoundedSearch) {
    CandleStore store;
    store.addLine("OTHER", 0, series("X", kFive, 20090302, 103000, {1}));
    for (const char* period : {"5", "DAY", "WEEK", "MONTH"}) {
        LibraryRun run(valueMap("GET_SHEDULE_MINUS(\"PRICE\", " + dateTime(20090302, 190000) + ", \"" +
                                period + "\", 0, \"CLOSE\")"),
                       store);
        const auto lines = run.at({20090302, 235959});
        ASSERT_EQ(lines.size(), 1u) << period;
        EXPECT_EQ(lines[0].substr(0, 3), " 0 ") << period;
        EXPECT_LE(run.requests.size(), 3u + 2u + 300u) << period;
        EXPECT_GE(run.requests.size(), 4u) << period;
    }
}

} // namespace
} // namespace zorvant::sim
