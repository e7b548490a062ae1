#include "qpl/message_period.h"
#include "qpl/period_code.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::qpl {
namespace {
using namespace text::literals;

TEST(PeriodCode, MapsEverySixteenLabelsAndNothingElse) {
    const std::pair<std::string_view, std::string_view> table[] = {
        {"1 МИН"_cp, "1"},    {"2 МИН"_cp, "2"},   {"3 МИН"_cp, "3"},     {"4 МИН"_cp, "4"},
        {"5 МИН"_cp, "5"},    {"6 МИН"_cp, "6"},   {"10 МИН"_cp, "10"},   {"15 МИН"_cp, "15"},
        {"20 МИН"_cp, "20"},  {"30 МИН"_cp, "30"}, {"1 ЧАС"_cp, "60"},    {"2 ЧАСА"_cp, "120"},
        {"4 ЧАСА"_cp, "240"}, {"ДЕНЬ"_cp, "DAY"},  {"НЕДЕЛЯ"_cp, "WEEK"}, {"МЕСЯЦ"_cp, "MONTH"},
    };
    for (const auto& [label, code] : table)
        EXPECT_EQ(PeriodCodeOf(label), code) << text::toUtf8(label);
    for (const auto label :
         {"5 мин."_cp, "5 МИН "_cp, " 5 МИН"_cp, "5 мин"_cp, "5"_cp, ""_cp, "DAY"_cp, "1 ЧАСА"_cp})
        EXPECT_EQ(PeriodCodeOf(label), "") << text::toUtf8(label);
}

TEST(PeriodCode, RanksRunFromOneMinuteToMonth) {
    const std::string_view order[] = {"1",  "2",  "3",  "4",   "5",   "6",   "10",   "15",
                                      "20", "30", "60", "120", "240", "DAY", "WEEK", "MONTH"};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(periodRank(order[i - 1]), periodRank(order[i])) << order[i];
    EXPECT_EQ(periodRank("7"), -1);
    EXPECT_EQ(periodRank(""), -1);
}

struct Offer {
    std::string_view period;
    std::string_view chart;
};

MessagePeriodSelection select(std::initializer_list<Offer> offers, std::string previous = "OLD") {
    MessagePeriodSelection selection(std::move(previous));
    for (const auto& offer : offers)
        selection.offer(offer.period, offer.chart);
    return selection;
}

TEST(MessagePeriod, ShortestIntervalWinsAndTheEarliestPartKeepsATie) {
    struct Case {
        std::initializer_list<Offer> offers;
        std::string_view period, chart;
    };
    const Case cases[] = {
        {{{"60", "A"}, {"DAY", "B"}}, "60", "A"},
        {{{"DAY", "A"}, {"5", "B"}}, "5", "B"},
        {{{"WEEK", "A"}, {"DAY", "B"}}, "DAY", "B"},
        {{{"MONTH", "A"}, {"WEEK", "B"}}, "WEEK", "B"},
        {{{"DAY", "A"}, {"MONTH", "B"}}, "DAY", "A"},
        {{{"15", "A"}, {"15", "B"}}, "15", "A"},
        {{{"240", "A"}, {"120", "B"}, {"30", "C"}}, "30", "C"},
        {{{"240", "A"}, {"DAY", "B"}}, "240", "A"},
        {{{"", "A"}, {"60", "B"}, {"", "C"}}, "60", "B"},
        {{{"10", "A"}, {"5", "B"}, {"5", "C"}, {"1", "D"}}, "1", "D"},
    };
    for (const auto& c : cases) {
        const auto selection = select(c.offers);
        EXPECT_EQ(selection.period(), c.period);
        EXPECT_EQ(selection.chart(), c.chart);
    }
}

TEST(MessagePeriod, NoIntervalKeepsTheChartOfThePreviousGeneration) {
    const auto none = select({{"", "A"}});
    EXPECT_EQ(none.period(), "0");
    EXPECT_EQ(none.chart(), "OLD");
    EXPECT_EQ(select({}, "").chart(), "");
}

TEST(MessagePeriod, DatePeriodsAreDayWeekAndMonth) {
    for (const auto code : {"DAY", "WEEK", "MONTH"})
        EXPECT_TRUE(isDatePeriod(code));
    for (const auto code : {"0", "1", "240", "", "day"})
        EXPECT_FALSE(isDatePeriod(code));
}

} // namespace
} // namespace zorvant::qpl
