#include "sim_support.h"

#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::sim {
namespace {

using testing::parseBody;
using testing::portfolio;
using testing::runOnce;

struct BadBody {
    const char* body;
    int line;
    int column;
    const char* reason;
};

// The body starts at line 4 of the test portfolio.
TEST(ScriptParser, ReportsFaultsOfTheBodyWithLineAndColumn) {
    const BadBody cases[] = {
        {"x = \"abc", 4, 5, "не закрыта"},
        {"x = 5 – 3", 4, 7, "недопустимый символ"},
        {"y = 1\nx = foo(1)", 5, 5, "неизвестная функция «FOO»"},
        {"IF x > 1\n  y = 2", 4, 1, "нет END IF"},
        {"FOR i FROM 1 TO 3\n  y = 2\nEND IF", 6, 1, "нет начала"},
        {"FOR i FROM 1 TO 3\n  y = 2", 4, 1, "нет END FOR"},
        {"BREAK", 4, 1, "вне цикла"},
        {"x = SUBSTR(\"a\", 1)", 4, 5, "неверное число аргументов функции «SUBSTR»"},
        {"x = (1 + 2", 4, 11, "ожидалось «)»"},
        {"x = 1 +", 4, 8, "выражение оборвано"},
        {"END IF", 4, 1, "нет начала"},
        {"x 5", 4, 3, "ожидалось «=»"},
        {"IF 1 = 1\nFUNC f(a)\nEND FUNC\nEND IF", 5, 1, "FUNC внутри блока"},
        {"FUNC f(a)\nEND FUNC\nFUNC F(b)\nEND FUNC", 6, 1, "описана дважды"},
        {"FUNC f(a, A)\nEND FUNC", 4, 11, "повторяется"},
        {"FUNC f(a)\nEND FUNC\nx = f(1, 2)", 6, 5, "неверное число аргументов функции «F»"},
        {"x = 1 y", 4, 7, "лишний текст"},
        {"x = 12abc", 4, 5, "неверно записано число"},
        {"IF = 2", 4, 4, "ожидалось значение"},
    };
    for (const BadBody& c : cases) {
        SCOPED_TRACE(c.body);
        try {
            parseBody(c.body);
            ADD_FAILURE() << "no error";
        } catch (const ScriptError& error) {
            EXPECT_EQ(error.pos().line, c.line);
            EXPECT_EQ(error.pos().column, c.column);
            EXPECT_NE(text::toUtf8(error.reason()).find(c.reason), std::string::npos)
                << text::toUtf8(error.reason());
        }
    }
}

struct BadScript {
    const char* text;
    int line;
    const char* reason;
};

TEST(ScriptParser, ReportsFaultsOfTheFrameWithTheirLine) {
    const BadScript cases[] = {
        {"PROGRAM\nEND_PROGRAM\nEND_PORTFOLIO_EX", 1, "PORTFOLIO_EX"},
        {"PORTFOLIO_EX A;\nDESCRIPTION без точки с запятой\nPROGRAM\nEND_PROGRAM\nEND_PORTFOLIO_EX", 2,
         "«;»"},
        {"PORTFOLIO_EX A;\nINCLUDE lib.qpl;\nPROGRAM\nEND_PROGRAM\nEND_PORTFOLIO_EX", 2, "INCLUDE"},
        {"PORTFOLIO_EX A;\nCOLOR red;\nPROGRAM\nEND_PROGRAM\nEND_PORTFOLIO_EX", 2,
         "неизвестная строка заголовка"},
        {"PORTFOLIO_EX A;\nPROGRAM\nx = 1\n", 4, "END_PROGRAM"},
        {"PORTFOLIO_EX A;\nPROGRAM\nEND_PROGRAM\n", 4, "END_PORTFOLIO_EX"},
        {"PORTFOLIO_EX A;\nPROGRAM\nEND_PROGRAM\nPARAMETER a;\nPARAMETER_TYPE "
         "NUMBER(1);\nEND\nEND_PORTFOLIO_EX",
         5, "PARAMETER_TYPE"},
        {"PORTFOLIO_EX A;\nPROGRAM\nEND_PROGRAM\nPARAMETER a;\nEND_PORTFOLIO_EX", 4, "нет END"},
        {"PORTFOLIO_EX A;\nPROGRAM\nEND_PROGRAM\nEND_PORTFOLIO_EX\nx = 1", 5, "после END_PORTFOLIO_EX"},
    };
    for (const BadScript& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseScript(text::fromUtf8(c.text));
            ADD_FAILURE() << "no error";
        } catch (const ScriptError& error) {
            EXPECT_EQ(error.pos().line, c.line);
            EXPECT_NE(text::toUtf8(error.reason()).find(c.reason), std::string::npos)
                << text::toUtf8(error.reason());
        }
    }
}

TEST(ScriptParser, ReadsHeaderAndColumns) {
    const Script script =
        parseScript(portfolio("x = 1", "CLIENTS_LIST ALL_CLIENTS;\nFIRMS_LIST ALL_FIRMS;\n"));
    EXPECT_EQ(script.header.portfolio, "Test");
    EXPECT_EQ(text::toUtf8(script.header.description), "Проверка");
    EXPECT_EQ(script.header.clientsList, "ALL_CLIENTS");
    EXPECT_EQ(script.header.firmsList, "ALL_FIRMS");
    EXPECT_FALSE(script.header.caseSensitiveConstants);
    ASSERT_EQ(script.columns.size(), 1u);
    EXPECT_EQ(script.columns[0].name, "sTime");
    EXPECT_EQ(text::toUtf8(script.columns[0].title), "Время");
    EXPECT_EQ(script.columns[0].type, "STRING(20)");
    EXPECT_TRUE(parseScript(portfolio("", "USE_CASE_SENSITIVE_CONSTANTS;\n")).header.caseSensitiveConstants);
}

// What our generated text and the library rely on beyond the manual's grammar.
TEST(ScriptParser, AcceptsTheFormsGeneratedScriptsUse) {
    const auto outcome = runOnce("x = Twice(2)\n"
                                 "If x = 4\n"
                                 "  WRITELN(\"f\", \"no else\")\n"
                                 "end if\n"
                                 "WRITELN(\"f\", \"a\" & _\n"
                                 "   \"b\")    ' a comment with \"quotes\"\n"
                                 "WRITELN(\"f\", \"it's\") ‘ typographic comment\n"
                                 "WRITELN(\"f\", Zero())\n"
                                 "Func Twice(fp_x)\n"
                                 "  Result = fp_x * 2\n"
                                 "End Func\n"
                                 "func Zero()\n"
                                 "  result = 0\n"
                                 "end func");
    EXPECT_EQ(outcome.lines, (std::vector<std::string>{"NO ELSE", "AB", "IT'S", "0"}));
    EXPECT_EQ(outcome.warnings.total(), 0u);
}

TEST(ScriptParser, KeepsTheLineOfEveryPartOfAContinuedStatement) {
    try {
        parseBody("x = 1 + _\n  \"a\" ) ");
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.pos().line, 5);
        EXPECT_EQ(error.pos().column, 7);
    }
}

} // namespace
} // namespace zorvant::sim
