#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace zorvant::platform {
namespace {

using Args = std::vector<std::string>;

struct Case {
    const char* line;
    Args args;
};

TEST(CommandLine, SplitsByTheWindowsRules) {
    const Case cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"notify.exe", {"notify.exe"}},
        {"  C:\\bin\\notify.exe  A B", {"C:\\bin\\notify.exe", "A", "B"}},
        {"a\tb", {"a", "b"}},
        // The program name keeps its backslashes and loses its quotes.
        {"\"C:\\Program Files\\n.exe\" x", {"C:\\Program Files\\n.exe", "x"}},
        {"C:\\a\\\"b c\" d", {"C:\\a\\b c", "d"}},
        // Quotes group, and may start in the middle of an argument.
        {"p \"two words\" x\"y z\"", {"p", "two words", "xy z"}},
        {"p \"\" end", {"p", "", "end"}},
        {"p \"unclosed rest", {"p", "unclosed rest"}},
        // Backslashes before a quote: halved; an odd one makes the quote literal.
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},
        {"p a\\\"b", {"p", "a\"b"}},
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p \"C:\\dir\\\\\"", {"p", "C:\\dir\\"}},
        // Backslashes before anything else stay as they are.
        {"p C:\\a\\\\b\\", {"p", "C:\\a\\\\b\\"}},
        // "" inside a quoted part is one literal quote.
        {"p \"say \"\"hi\"\" now\"", {"p", "say \"hi\" now"}},
        // A message text cannot become a second command.
        {"p A; rm -rf / && B | C", {"p", "A;", "rm", "-rf", "/", "&&", "B", "|", "C"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, KeepsWindows1251BytesInArguments) {
    const std::string line = "p \"\xD1\xE8\xE3\xED\xE0\xEB \xEA\xF3\xEF\xE8\xF2\xFC\"";
    EXPECT_EQ(splitCommandLine(line), (Args{"p", "\xD1\xE8\xE3\xED\xE0\xEB \xEA\xF3\xEF\xE8\xF2\xFC"}));
}

} // namespace
} // namespace zorvant::platform
