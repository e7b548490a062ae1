#include "text/number_format.h"

#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zorvant::text {
namespace {

struct FormatCase {
    double value;
    const char* comma;
};

TEST(GeneralFormat, PrintsTheShortestTextWithTheLocaleSeparator) {
    const FormatCase cases[] = {
        {0, "0"},
        {10, "10"},
        {1500.5, "1500,5"},
        {-0.25, "-0,25"},
        {0.1, "0,1"},
        {1.0 / 3.0, "0,333333333333333"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {0.00001, "0,00001"},
        {0.000015, "0,000015"},
        {0.0000099, "9,9E-6"},
        {-2e-7, "-2E-7"},
        {100.0000000000001, "100"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.value, ','), c.comma) << c.value;
        std::string dotted = c.comma;
        std::replace(dotted.begin(), dotted.end(), ',', '.');
        EXPECT_EQ(formatGeneral(c.value, '.'), dotted) << c.value;
    }
}

TEST(GeneralFormat, ParsesWhatItPrints) {
    for (const double value : {0.0, 7.0, 1500.5, -3.75, 1e15, 2.5e-9, 123456.789}) {
        for (const char separator : {',', '.'})
            EXPECT_DOUBLE_EQ(parseNumber(formatGeneral(value, separator), separator), value);
    }
    EXPECT_DOUBLE_EQ(parseNumber(" 12 ", ','), 12);
    EXPECT_DOUBLE_EQ(parseNumber("+4,5e2", ','), 450);
}

TEST(GeneralFormat, RejectsTextThatIsNoNumberAndNamesIt) {
    for (const char* bad : {"", " ", "1.5", "abc", "1,2,3", "1e", "--1", ",", "5 5"}) {
        try {
            parseNumber(bad, ',');
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(std::string("\"") + bad + "\""), std::string::npos);
            EXPECT_NE(toUtf8(error.what()).find("не является правильным числом"), std::string::npos);
        }
    }
}

TEST(GeneralFormat, NumbersBeyondTheRangeOfADouble) {
    // Too large is no number at all; too small reads as zero.
    for (const char* huge : {"1E400", "-2,5e309",
                             "1000000000000000000000000000000000000000000000000000000000000"
                             "0000000000000000000000000000000000000000000000000000000000000"
                             "0000000000000000000000000000000000000000000000000000000000000"
                             "0000000000000000000000000000000000000000000000000000000000000"
                             "0000000000000000000000000000000000000000000000000000000000000"
                             "000000000000000000000000000000000000000000000000000",
                             "0,0001e99999999999999999999"})
        EXPECT_THROW(parseNumber(huge, ','), Error) << huge;
    EXPECT_EQ(parseNumber("1E-400", ','), 0);
    EXPECT_EQ(parseNumber("-0,0001e-99999999999999999999", ','), 0);
    EXPECT_EQ(parseNumber("1,7976931348623157E308", ','), 1.7976931348623157E308);
}

TEST(GeneralFormat, AValueThatRoundsUpToTheExponentLimitKeepsItsText) {
    // Just below 0.00001 and just below 1E15 print as the rounded number does, so they read back the same.
    EXPECT_EQ(formatGeneral(9.999999999999999e-06, ','), "0,00001");
    EXPECT_EQ(formatGeneral(-9.999999999999999e-06, '.'), "-0.00001");
    EXPECT_EQ(formatGeneral(999999999999999.9, ','), "1E15");
    EXPECT_EQ(formatGeneral(9.9999999999999e-06, ','), "9,9999999999999E-6");
}

TEST(GeneralFormat, ATypedNumberMayUseEitherSeparator) {
    for (const char separator : {',', '.'}) {
        EXPECT_EQ(parseEitherSeparator("1500.5", separator), 1500.5);
        EXPECT_EQ(parseEitherSeparator(" -2,25 ", separator), -2.25);
        EXPECT_THROW(parseEitherSeparator("1,500.5", separator), Error);
        EXPECT_THROW(parseEitherSeparator("1.5.5", separator), Error);
    }
    try {
        parseEitherSeparator("1.5 руб"_cp, ',');
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "\"1.5 руб\" не является правильным числом."_cp); // as typed
    }
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(2.6), 3);
    EXPECT_EQ(roundHalfEven(2.4), 2);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
}

} // namespace
} // namespace zorvant::text
