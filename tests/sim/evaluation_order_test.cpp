// The compiled script evaluates as the text reads: operands left to right, each variable read with its
// warning at its own turn, a value read before a call that changes it kept as it was, and texts the
// same however long they are.
#include "sim_support.h"

#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::runOnce;

struct Place {
    int line;
    int column;
};

std::vector<Place> warningPlaces(const Warnings& warnings) {
    std::vector<Place> places;
    for (const auto& entry : warnings.entries())
        places.push_back({entry.first.line, entry.first.column});
    return places;
}

TEST(EvaluationOrder, UnsetVariablesAreReportedInTheOrderOfTheText) {
    // Body lines start at line 4 of the portfolio around them.
    const auto outcome = runOnce("x = u + (v + 1)\ny = SUBSTR(p, q, w + 1)\nWRITELN(\"f\", x & y)");
    EXPECT_EQ(outcome.lines, std::vector<std::string>{"1"});
    const std::vector<Place> expected = {{4, 5}, {4, 10}, {5, 12}, {5, 15}, {5, 18}};
    const auto places = warningPlaces(outcome.warnings);
    ASSERT_EQ(places.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(places[i].line, expected[i].line) << i;
        EXPECT_EQ(places[i].column, expected[i].column) << i;
    }
}

TEST(EvaluationOrder, AValueReadBeforeACallThatChangesItIsKeptAsItWas) {
    const auto outcome = runOnce("FUNC f(a)\n"
                                 "  s = \"after\"\n"
                                 "  result = a\n"
                                 "END FUNC\n"
                                 "s = \"before\"\n"
                                 "WRITELN(\"f\", s & f(1) & s)\n"
                                 "WRITELN(\"f\", SUBSTR(s, 0, 2) & f(2) & SUBSTR(s, 0, 2))");
    EXPECT_EQ(outcome.lines, (std::vector<std::string>{"BEFORE1AFTER", "AF2AF"}));
    // x = SET_VALUE(x, ...) with an argument that assigns x itself: set or unset, x is asked first.
    const auto update = runOnce("FUNC g(a)\n"
                                "  m = SET_VALUE(CREATE_MAP(), \"k\", a)\n"
                                "  result = a\n"
                                "END FUNC\n"
                                "m = CREATE_MAP()\n"
                                "m = SET_VALUE(m, \"j\", g(5))\n"
                                "WRITELN(\"f\", GET_VALUE(m, \"k\") & GET_VALUE(m, \"j\"))");
    EXPECT_EQ(update.lines, std::vector<std::string>{"55"});
    const Script unset = testing::parseBody("FUNC g(a)\n"
                                            "  n = CREATE_MAP()\n"
                                            "  result = a\n"
                                            "END FUNC\n"
                                            "n = SET_VALUE(n, \"j\", g(6))");
    const CandleStore store;
    Simulation simulation(unset, store);
    EXPECT_THROW(simulation.recalculateAt({20090301, 120000}), ScriptError);
    EXPECT_EQ(simulation.machine().warnings().countContaining(text::fromUtf8("переменная N")), 1u);
}

TEST(EvaluationOrder, TextsBehaveTheSameWhateverTheirLength) {
    // 16 characters lie in a value, 17 and more are shared.
    const auto outcome = runOnce("a = \"ABCDEFGHIJKLMNOP\"\n"
                                 "b = a & \"Q\"\n"
                                 "c = b\n"
                                 "m = SET_VALUE(CREATE_MAP(), b, a)\n"
                                 "m = SET_VALUE(m, a, b)\n"
                                 "WRITELN(\"f\", LEN(a) & \" \" & LEN(b) & \" \" & GET_VALUE(m, c) & \" \" & "
                                 "GET_VALUE(m, a) & \" \" & SUBSTR(b, 15, 2))\n"
                                 "FOR t IN a & \",\" & b & \",ZZZZZZZZZZZZZZZZZZ\"\n"
                                 "  WRITELN(\"f\", t)\n"
                                 "END FOR");
    EXPECT_EQ(outcome.lines,
              (std::vector<std::string>{"16 17 ABCDEFGHIJKLMNOP ABCDEFGHIJKLMNOPQ PQ", "ABCDEFGHIJKLMNOP",
                                        "ABCDEFGHIJKLMNOPQ", "ZZZZZZZZZZZZZZZZZZ"}));
}

} // namespace
} // namespace zorvant::sim
