#include "sim_support.h"

#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::parseBody;
using testing::runOnce;

std::string one(std::string_view body) {
    const auto outcome = runOnce(body);
    return outcome.lines.size() == 1 ? outcome.lines[0]
                                     : "<" + std::to_string(outcome.lines.size()) + " lines>";
}

std::string value(std::string_view expression) {
    return one(std::string("WRITELN(\"f\", ") + std::string(expression) + ")");
}

ScriptError failure(std::string_view body, Limits limits = {}) {
    const Script script = parseBody(body);
    const CandleStore noCandles;
    Simulation simulation(script, noCandles, limits);
    try {
        simulation.recalculateAt({20090301, 120000});
    } catch (const ScriptError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << body;
    return ScriptError({}, "");
}

TEST(Interpreter, FunctionTemporariesAreTheScriptsGlobals) {
    EXPECT_EQ(one("FUNC inner(a)\n"
                  "  tmp = a * 10\n"
                  "  result = tmp\n"
                  "END FUNC\n"
                  "FUNC outer(b)\n"
                  "  tmp = b\n"
                  "  x = inner(b)\n"
                  "  seen = 1\n"
                  "  result = tmp\n"
                  "END FUNC\n"
                  "r = outer(3)\n"
                  "WRITELN(\"f\", r & \" \" & tmp & \" \" & seen)"),
              "30 30 1");
    // A parameter hides the global of the same name, and assigning to it leaves the global alone.
    EXPECT_EQ(one("tmp = 5\n"
                  "FUNC g(tmp)\n"
                  "  tmp = 99\n"
                  "  result = tmp\n"
                  "END FUNC\n"
                  "WRITELN(\"f\", g(1) & \" \" & tmp)"),
              "99 5");
}

TEST(Interpreter, ResultBelongsToEachCall) {
    EXPECT_EQ(one("FUNC two(a)\n"
                  "  result = 2\n"
                  "END FUNC\n"
                  "FUNC one(a)\n"
                  "  result = 1\n"
                  "  z = two(a)\n"
                  "  result = result & z\n"
                  "END FUNC\n"
                  "WRITELN(\"f\", one(0))"),
              "12");
    const auto procedure =
        runOnce("FUNC p(a)\n  x = a\nEND FUNC\np(1)\nWRITELN(\"f\", \"[\" & p(2) & \"]\")");
    EXPECT_EQ(procedure.lines, std::vector<std::string>{"[]"});
    EXPECT_EQ(procedure.warnings.countContaining(text::fromUtf8("функция P не присвоила RESULT")), 1u);
    EXPECT_EQ(one("FUNC early(a)\n  result = 1\n  RETURN\n  result = 2\nEND FUNC\nWRITELN(\"f\", early(0))"),
              "1");
}

TEST(Interpreter, MapsAndCollectionsArePassedByValue) {
    EXPECT_EQ(
        one("m = CREATE_MAP()\n"
            "m = SET_VALUE(m, \"k\", 1)\n"
            "FUNC change(fp_m)\n"
            "  fp_m = SET_VALUE(fp_m, \"k\", 2)\n"
            "  result = GET_VALUE(fp_m, \"k\")\n"
            "END FUNC\n"
            "r = change(m)\n"
            "copy = m\n"
            "copy = SET_VALUE(copy, \"k\", 3)\n"
            "other = SET_VALUE(m, \"k\", 4)\n"
            "WRITELN(\"f\", r & GET_VALUE(m, \"k\") & GET_VALUE(copy, \"k\") & GET_VALUE(other, \"k\"))"),
        "2134");
    EXPECT_EQ(
        one("c = CREATE_COLLECTION()\n"
            "c = INSERT_COLLECTION_ITEM(c, 0, \"a\")\n"
            "d = INSERT_COLLECTION_ITEM(c, 0, \"b\")\n"
            "d = SET_COLLECTION_ITEM(d, 1, \"c\")\n"
            "e = REMOVE_COLLECTION_ITEM(d, 0)\n"
            "WRITELN(\"f\", GET_COLLECTION_COUNT(c) & GET_COLLECTION_ITEM(c, 0) & GET_COLLECTION_COUNT(d) _\n"
            "  & GET_COLLECTION_ITEM(d, 0) & GET_COLLECTION_ITEM(d, 1) & GET_COLLECTION_ITEM(e, 0))"),
        "1A2BCC");
    EXPECT_EQ(value("GET_VALUE(CREATE_MAP(), \"missing\") & \"|\""), "|");
    // A map changed through its own variable, with arguments that read it or create new globals.
    EXPECT_EQ(one("FUNC fresh(a)\n"
                  "  NEW_GLOBAL(\"made_\" & a, a)\n"
                  "  result = a\n"
                  "END FUNC\n"
                  "m = SET_VALUE(CREATE_MAP(), \"k\", 1)\n"
                  "keep = m\n"
                  "m = SET_VALUE(m, \"k\", GET_VALUE(m, \"k\") + fresh(1) + fresh(2))\n"
                  "m = SET_VALUE(m, \"j\", m)\n"
                  "WRITELN(\"f\", GET_VALUE(m, \"k\") & GET_VALUE(keep, \"k\") & GET_VALUE(GET_VALUE(m, "
                  "\"j\"), \"k\"))"),
              "414");
    // Values read out of maps and collections, one of them the very collection being changed.
    EXPECT_EQ(one("c = INSERT_COLLECTION_ITEM(CREATE_COLLECTION(), 0, \"a\")\n"
                  "m = SET_VALUE(CREATE_MAP(), \"k\", 7)\n"
                  "c = INSERT_COLLECTION_ITEM(c, 1, GET_VALUE(m, \"k\"))\n"
                  "c = INSERT_COLLECTION_ITEM(c, 0, GET_COLLECTION_ITEM(c, 1))\n"
                  "m = SET_VALUE(m, \"j\", GET_VALUE(m, \"k\"))\n"
                  "WRITELN(\"f\", GET_COLLECTION_COUNT(c) & GET_COLLECTION_ITEM(c, 0) & "
                  "GET_COLLECTION_ITEM(c, 1) _\n"
                  "  & GET_COLLECTION_ITEM(c, 2) & GET_VALUE(m, \"j\"))"),
              "37A77");
}

TEST(Interpreter, StringConstantsAreUpperCasedUnlessTheScriptSaysOtherwise) {
    const std::string body = "m = SET_VALUE(CREATE_MAP(), \"time\", 5)\n"
                             "WRITELN(\"f\", \"Привет, ёж world\")\n"
                             "WRITELN(\"f\", \"[\" & GET_VALUE(m, \"TIME\") & \"]\")";
    EXPECT_EQ(runOnce(body).lines, (std::vector<std::string>{"ПРИВЕТ, ЁЖ WORLD", "[5]"}));
    const Script sensitive = parseBody(body, "USE_CASE_SENSITIVE_CONSTANTS\n");
    const CandleStore noCandles;
    Simulation simulation(sensitive, noCandles);
    simulation.recalculateAt({20090301, 120000});
    ASSERT_EQ(simulation.terminal().written().size(), 2u);
    EXPECT_EQ(text::toUtf8(simulation.terminal().written()[0].text), "Привет, ёж world");
    EXPECT_EQ(simulation.terminal().written()[1].text, "[]");
}

TEST(Interpreter, IdentifiersAndKeywordsIgnoreCase) {
    EXPECT_EQ(one("Counter = 1\nCOUNTER = counter + 1\nif CoUnTeR = 2\n  Writeln(\"f\", \"yes\")\nEnd If"),
              "YES");
}

TEST(Interpreter, ConvertsBetweenNumbersAndText) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"3E2\" + 0", "300"},
        {"\"5E3\"", "5E3"},
        {"3D2 + 0", "300"},
        {"\"\" + 1", "1"},
        {"\" 12.5 \" * 2", "25"},
        {"1 / 3", "0.33333333"},
        {"0.1 + 0.2", "0.3"},
        {"-5 / 2", "-2.5"},
        {"2 * 3 - 1", "5"},
        {"10 - 2 - 3", "5"},
        {"123456.123456789 + 0", "123456.12345679"},
        {"103000 + 0", "103000"},
        {"\"a\" & 1 + 2", "2"},
        {"\"a\" & (1 + 2)", "A3"},
        {"FLOOR(-1.5) & \" \" & FLOOR(4) & \" \" & CEIL(1.2) & \" \" & ABS(-3)", "-2 4 2 3"},
        {"LEN(\"абв\") & \" \" & SUBSTR(\"abc\", 1, 10) & \"|\" & SUBSTR(\"abc\", 5, 2) & \"|\"", "3 BC||"},
        {"SUBSTR(\"anymessage\", FIND(\"anymessage\", 1, \"message\"), LEN(\"message\"))", "MESSAGE"},
        {"FIND(\"abc\", 0, \"z\") & \" \" & FIND(\"abcabc\", 1, \"a\")", "-1 3"},
        {"\"[\" & TRIM(\"  a b  \") & \"]\"", "[A B]"},
        {"APPLY_SCALE(2.3456, 2) & \" \" & APPLY_SCALE(7, 1)", "2.35 7.0"},
        {"POW(2, 10) & \" \" & SQRT(16)", "1024 4"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(value(expression), expected) << expression;
    const auto notNumber = runOnce("WRITELN(\"f\", \"abc\" + 1)");
    EXPECT_EQ(notNumber.lines, std::vector<std::string>{"1"});
    EXPECT_EQ(notNumber.warnings.countContaining("ABC"), 1u);
}

TEST(Interpreter, ComparesNumbersAsNumbersAndTextsAsTexts) {
    const std::pair<const char*, bool> cases[] = {
        {"\"15\" < \"5\"", true},
        {"15 < \"5\"", false},
        {"1 = \"1\"", true},
        {"\"abc\" = \"ABC\"", true},
        {"\"x\" > 5", true},
        {"2 <> 2", false},
        {"2 != 3", true},
        {"2 == 2", true},
        {"3 >= 3", true},
        {"\"\" = \"\"", true},
        {"(1 < 2) and (3 < 2)", false},
        // AND and OR go left to right at one level: (true or true) and false.
        {"1 = 1 or 1 = 1 and 1 = 0", false},
        {"1 = 0 and 1 = 1 or 1 = 1", true},
        {"((1 < 2) and (2 < 3)) or (5 < 4)", true},
    };
    for (const auto& [condition, holds] : cases)
        EXPECT_EQ(one(std::string("IF ") + condition +
                      "\n  WRITELN(\"f\", \"y\")\nELSE\n  WRITELN(\"f\", \"n\")\nEND IF"),
                  holds ? "Y" : "N")
            << condition;
    EXPECT_NE(text::toUtf8(failure("m = CREATE_MAP()\nIF m = 1\nEND IF").reason()).find("таблица"),
              std::string::npos);
}

TEST(Interpreter, ForLoopsAreInclusiveAndBreakLeavesTheInnermost) {
    EXPECT_EQ(one("s = 0\nFOR i FROM 1 TO 5\n  s = s + i\nEND FOR\nWRITELN(\"f\", s & \" \" & i)"), "15 5");
    EXPECT_EQ(one("s = 0\nFOR i FROM 3 TO 2\n  s = s + 1\nEND FOR\nWRITELN(\"f\", s)"), "0");
    EXPECT_EQ(one("n = 0\n"
                  "FOR i FROM 1 TO 3\n"
                  "  FOR j FROM 1 TO 10\n"
                  "    IF j = 2\n"
                  "      BREAK\n"
                  "    END IF\n"
                  "    n = n + 1\n"
                  "  END FOR\n"
                  "END FOR\n"
                  "WRITELN(\"f\", n & \" \" & i & \" \" & j)"),
              "3 3 2");
    EXPECT_EQ(one("s = \"\"\nFOR i FROM 1 TO 4\n  IF i = 2\n    CONTINUE\n  END IF\n  s = s & i\nEND "
                  "FOR\nWRITELN(\"f\", s)"),
              "134");
    EXPECT_EQ(one("s = \"\"\nFOR x IN \"a, b,c\"\n  s = s & \"<\" & x & \">\"\nEND FOR\nWRITELN(\"f\", s)"),
              "<A><B><C>");
    // The bound is taken once: changing it in the body does not stretch the loop.
    EXPECT_EQ(one("n = 3\nk = 0\nFOR i FROM 1 TO n\n  n = 10\n  k = k + 1\nEND FOR\nWRITELN(\"f\", k)"), "3");
}

TEST(Interpreter, AnUnassignedVariableReadsAsEmptyTextWithAWarningNamingIt) {
    const auto outcome = runOnce("WRITELN(\"f\", \"[\" & nothing & \"]\" & (nothing + 1))");
    EXPECT_EQ(outcome.lines, std::vector<std::string>{"[]1"});
    ASSERT_EQ(outcome.warnings.entries().size(), 1u);
    EXPECT_NE(outcome.warnings.entries()[0].text.find("NOTHING"), std::string::npos);
    EXPECT_EQ(outcome.warnings.entries()[0].count, 2u);
    EXPECT_EQ(outcome.warnings.entries()[0].first.line, 4);
    EXPECT_EQ(outcome.warnings.entries()[0].first.column, 20);
}

TEST(Interpreter, OnlyNewGlobalsAndTheOutputTableOutliveARecalculation) {
    const Script script = parseBody("new_global(\"count\", 0)\n"
                                    "count = count + 1\n"
                                    "name = \"other\"\n"
                                    "NEW_GLOBAL(name, 10)\n"
                                    "other = other + 1\n"
                                    "WRITELN(\"f\", count & \" \" & other & \" [\" & plain & \"]\")\n"
                                    "plain = 1\n"
                                    "row = SET_VALUE(CREATE_MAP(), \"sTime\", count)\n"
                                    "ADD_ITEM(1, row)");
    const CandleStore noCandles;
    Simulation simulation(script, noCandles);
    for (int i = 0; i < 3; ++i)
        simulation.recalculateAt({20090301, 120000 + i * 100});
    std::vector<std::string> lines;
    for (const auto& line : simulation.terminal().written())
        lines.push_back(line.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"1 11 []", "2 12 []", "3 13 []"}));
    EXPECT_EQ(simulation.machine().warnings().countContaining("PLAIN"), 3u);
    // Rows added at number 1 push the earlier ones down: the newest stands first.
    ASSERT_EQ(simulation.terminal().rows().size(), 3u);
    EXPECT_EQ(simulation.terminal().rows()[0]->find("STIME")->number(), 3);
    EXPECT_EQ(simulation.terminal().rows()[2]->find("STIME")->number(), 1);
}

TEST(Interpreter, StopsScriptsThatWouldHangOrExhaustTheHost) {
    Limits small;
    small.steps = 100000;
    small.textLength = 10000;
    const ScriptError loop = failure("x = 0\nFOR i FROM 1 TO 1000000000000\n  x = x + 1\nEND FOR", small);
    EXPECT_NE(text::toUtf8(loop.reason()).find("шагов"), std::string::npos);
    EXPECT_EQ(loop.pos().line, 5);
    const ScriptError recursion = failure("FUNC r(a)\n  result = r(a)\nEND FUNC\nx = r(1)");
    EXPECT_NE(text::toUtf8(recursion.reason()).find("вложенность"), std::string::npos);
    EXPECT_EQ(recursion.pos().line, 5);
    const ScriptError doubling = failure("s = \"ab\"\nFOR i FROM 1 TO 40\n  s = s & s\nEND FOR", small);
    EXPECT_NE(text::toUtf8(doubling.reason()).find("строка длиннее"), std::string::npos);
    const ScriptError division = failure("z = 0\nx = 1 / z");
    EXPECT_EQ(division.pos().line, 5);
    EXPECT_EQ(division.pos().column, 7);
    EXPECT_NE(text::toUtf8(failure("m = CREATE_MAP()\nx = m + 1").reason()).find("таблица"),
              std::string::npos);
    EXPECT_NE(text::toUtf8(failure("x = SET_VALUE(1, \"a\", 2)").reason()).find("не MAP"), std::string::npos);
}

} // namespace
} // namespace zorvant::sim
