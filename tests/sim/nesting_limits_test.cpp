// Scripts nested deeper than any real one: the reader refuses them with a fault at their place instead
// of exhausting the stack, while the depths that generated scripts reach still read and run.
#include "sim_support.h"

#include "sim/script_error.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::string faultOf(const std::string& utf8Body) {
    try {
        testing::parseBody(utf8Body);
        return "";
    } catch (const ScriptError& error) {
        return text::toUtf8(error.reason());
    }
}

TEST(NestingLimits, HostileDepthsAreFaultsOfTheScript) {
    const std::string tooDeep[] = {
        "x = " + repeated("(", 5000) + "1" + repeated(")", 5000),
        "x = 1" + repeated("+1", 10000),
        "x = 1" + repeated(" AND 1", 5000),
        "x = " + repeated("-", 10000) + "1",
        "x = " + repeated("F(", 3000) + "1" + repeated(")", 3000),
    };
    for (const auto& body : tooDeep)
        EXPECT_EQ(faultOf(body), "выражение вложено слишком глубоко") << body.substr(0, 40);
    EXPECT_EQ(faultOf(repeated("IF 1\n", 1000) + "x = 1\n" + repeated("END IF\n", 1000)),
              "блоки вложены слишком глубоко");
    EXPECT_EQ(faultOf(repeated("FOR i FROM 1 TO 2\n", 500) + "x = 1\n" + repeated("END FOR\n", 500)),
              "блоки вложены слишком глубоко");
}

TEST(NestingLimits, RecursionThroughDeepExpressionsStopsBeforeTheStackEnds) {
    // Within the call depth, but every call sits under three thousand signs.
    const Script script = testing::parseBody("FUNC F(n)\nIF n > 0\nRESULT = " + repeated("-", 2990) +
                                             "F(n-1)\nELSE\nRESULT = 0\nEND IF\nEND FUNC\nx = F(195)");
    const CandleStore store;
    Simulation simulation(script, store);
    try {
        simulation.recalculateAt({20090301, 120000});
        ADD_FAILURE() << "ran to the end";
    } catch (const ScriptError& error) {
        EXPECT_EQ(text::toUtf8(error.reason()), "вызовы вложены слишком глубоко для стека: F");
    }
}

TEST(NestingLimits, DepthsOfRealScriptsStillRun) {
    // A combination line of a thousand conditions, and brackets and blocks well beyond hand-written ones.
    const std::string body = "c = 1\nx = c" + repeated(" AND c OR c", 999) + "\ny = " + repeated("(", 500) +
                             "2" + repeated(")", 500) + "\n" + repeated("IF 1\n", 150) + "z = x + y\n" +
                             repeated("END IF\n", 150) + "WRITELN(\"out.txt\", z)";
    EXPECT_EQ(faultOf(body), "");
    EXPECT_EQ(testing::runOnce(body).lines, std::vector<std::string>{"3"});
}

} // namespace
} // namespace zorvant::sim
