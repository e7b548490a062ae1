#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::text {
namespace {

using Lines = std::vector<std::string>;

TEST(SettingsLines, EndAtLfAndDropLoneCarriageReturns) {
    EXPECT_EQ(splitSettingsLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitSettingsLines("a\rb\r\n"), (Lines{"ab"}));
    EXPECT_EQ(splitSettingsLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitSettingsLines(""), Lines{});
}

TEST(ConditionLines, EndAtCrLfOrBothAndStopAtNul) {
    EXPECT_EQ(splitConditionLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitConditionLines("a\n\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitConditionLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(splitConditionLines(std::string("a\r\nb\0c\r\nd", 10)), (Lines{"a", "b"}));
    EXPECT_EQ(splitConditionLines("\t\tx  \r\n"), (Lines{"\t\tx  "}));
}

TEST(JoinCrLf, EndsEveryLineTheLastOneToo) {
    EXPECT_EQ(joinCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinCrLf({}), "");
}

} // namespace
} // namespace zorvant::text
