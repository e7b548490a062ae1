#include "conditions/labels.h"
#include "line_compare.h"
#include "list_builder.h"
#include "qpl/condition_code.h"
#include "text/cp1251.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace zorvant::qpl {
namespace {
using namespace text::literals;
using testing::sameLines;
namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> crLfLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// One case folder: action.txt holds the action text, the folder name ends with the operand kind
// (_alone, _chart or _value), expected.txt holds condition 12's block in the expanded mode.
struct BlockCase {
    std::string name;
    std::string action;
    testing::SecondPart part2;
    std::vector<std::string> expected;
};

std::vector<BlockCase> blockCases() {
    std::vector<BlockCase> cases;
    for (const auto& entry : fs::directory_iterator(fs::path(ZORVANT_TEST_DATA) / "qpl" / "actions")) {
        BlockCase c{entry.path().filename().string(),
                    readBytes(entry.path() / "action.txt"),
                    {},
                    crLfLines(readBytes(entry.path() / "expected.txt"))};
        if (c.name.ends_with("_chart"))
            c.part2 = testing::currentPart("15 МИН", "MA", "2");
        else if (c.name.ends_with("_value"))
            c.part2 = testing::ValueLevel{"250.5"};
        cases.push_back(std::move(c));
    }
    return cases;
}

GeneratedScript blockOf(std::string_view action, const testing::SecondPart& part2, MessageMode mode,
                        int number = 12) {
    conditions::ConditionList list;
    const conditions::Node& condition =
        testing::addCondition(list, testing::currentPart("5 МИН"), action, part2);
    GeneratedScript script;
    ConditionCode(*condition.child(1), condition.child(2), number, mode, script);
    return script;
}

TEST(ConditionBlocks, EveryActionAndOperandKindMatchesItsGoldenBlock) {
    const auto cases = blockCases();
    ASSERT_EQ(cases.size(), 23u) << "7 one-operand actions and 8 actions with two operand kinds each";
    std::set<std::string> actions;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        actions.insert(c.action);
        const GeneratedScript script = blockOf(c.action, c.part2, MessageMode::Expanded);
        EXPECT_TRUE(sameLines(script.lines, c.expected));
        EXPECT_TRUE(script.messages.empty());
    }
    EXPECT_EQ(actions, std::set<std::string>(conditions::labels::kActions.begin(),
                                             conditions::labels::kActions.end()));
}

// The compressed block is the expanded one without the fragment head and tail.
TEST(ConditionBlocks, CompressedModeLeavesOutEveryMessageLine) {
    for (const auto& c : blockCases()) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> expected;
        for (const auto& line : c.expected)
            if (!line.starts_with("mess12"))
                expected.push_back(line);
        EXPECT_EQ(expected.size() + (c.name.ends_with("_alone") ? 1 : 2), c.expected.size());
        const auto lines = blockOf(c.action, c.part2, MessageMode::Compressed).lines;
        EXPECT_TRUE(sameLines(lines, expected));
        for (const auto& line : lines)
            EXPECT_EQ(line.find("mess12"), std::string::npos) << line;
    }
}

TEST(ConditionBlocks, LegendOpensTheBlockOfConditionOneOnly) {
    const auto first = blockOf("БОЛЬШЕ"_cp, testing::ValueLevel{"1"}, MessageMode::Expanded, 1).lines;
    const auto second = blockOf("БОЛЬШЕ"_cp, testing::ValueLevel{"1"}, MessageMode::Expanded, 2).lines;
    ASSERT_EQ(first.size(), second.size() + 8);
    EXPECT_EQ(first[1], "'Имя переменной NCP_T"_cp);
    EXPECT_EQ(first[7], "'==================================");
    EXPECT_EQ(first[8].substr(0, 32), "msg_p = GET_SHEDULE_MINUS(name_s");
    EXPECT_EQ(second[0],
              "msg_p = GET_SHEDULE_MINUS(name_shedule21,datetime_curr,sPeriod21, num_line21, \"CLOSE\")");
}

TEST(ConditionBlocks, TwoOperandActionWithoutSecondOperandIsReportedOnce) {
    for (const auto mode : {MessageMode::Expanded, MessageMode::Compressed}) {
        const GeneratedScript script = blockOf("ПЕРЕСЕКАЕТ ВВЕРХ"_cp, {}, mode, 3);
        ASSERT_EQ(script.messages.size(), 1u);
        EXPECT_EQ(script.messages[0], "Ошибка в описание условий!"_cp);
        // Part 1's candle, the head in the expanded mode, and the closing lines; no test sets condition3.
        EXPECT_EQ(script.lines.size(), 9u + (mode == MessageMode::Expanded ? 1 : 0) + 3u);
        for (const auto& line : script.lines)
            EXPECT_EQ(line.find("condition3=1"), std::string::npos);
    }
}

TEST(ConditionBlocks, UnknownActionKeepsOnlyTheCandleHeadAndClosing) {
    // Near misses of real actions: a prefix, a trailing space, lower case.
    for (const auto action : {"БОЛЬШЕ ИЛИ"_cp, "БОЛЬШЕ "_cp, "больше"_cp, ""_cp}) {
        const GeneratedScript script = blockOf(action, testing::ValueLevel{"1"}, MessageMode::Expanded, 4);
        ASSERT_EQ(script.lines.size(), 13u);
        EXPECT_EQ(script.lines[9], "mess4 = \"\" & GET_VALUE(msg_p,\"Name\") & \" \" & sPeriod41 & \" " +
                                       std::string(action) + " \"");
        EXPECT_EQ(script.lines[10], "'==================================");
        EXPECT_TRUE(script.messages.empty());
    }
}

TEST(ConditionBlocks, ActionTextIsWrittenRawIntoTheHead) {
    const auto lines = blockOf("{C} \"x\""_cp, {}, MessageMode::Expanded, 5).lines;
    EXPECT_EQ(lines[9], "mess5 = \"\" & GET_VALUE(msg_p,\"Name\") & \" \" & sPeriod51 & \" {C} \"x\" \"");
}

TEST(ConditionBlocks, SecondOperandWithoutFieldLinesIsReported) {
    conditions::ConditionList list;
    conditions::Node& condition = testing::addCondition(list, testing::currentPart("5 МИН"), "РАВНО"_cp);
    conditions::Node empty(std::string("<ЧАСТЬ2>"_cp));
    GeneratedScript script;
    ConditionCode(*condition.child(1), &empty, 2, MessageMode::Expanded, script);
    EXPECT_EQ(script.messages.size(), 1u);
}

} // namespace
} // namespace zorvant::qpl
