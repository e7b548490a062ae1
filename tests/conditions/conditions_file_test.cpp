#include "conditions/conditions_file.h"

#include "conditions/example_list.h"
#include "platform/platform.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <gtest/gtest.h>
#include <random>

namespace zorvant::conditions {
namespace {
using testing::cp;
using testing::exampleList;
using testing::golden;
using testing::shape;
using testing::TempFolder;
using testing::visible;

std::string levelErrorText(std::string_view levelAndLine, const std::string& file) {
    return cp("Неверный уровень (") + cp(levelAndLine) + cp("\" в файле ") + file;
}

TEST(ConditionsFile, TheExampleListIsThirtyLinesThatReadBackByteForByte) {
    TempFolder folder;
    const std::string expected = golden("example.con");
    folder.write("example.con", expected);
    const ConditionList loaded = readConditionsFile(folder.file("example.con"));
    ASSERT_EQ(loaded.nodeCount(), 30u);
    EXPECT_EQ(shape(loaded)[16], cp("1 <ТИП>И</ТИП>"));
    EXPECT_EQ(shape(loaded)[27], cp("2 <ЗНАЧЕНИЕ>1500</ЗНАЧЕНИЕ>"));
    writeConditionsFile(folder.file("пример.con"), loaded);
    EXPECT_EQ(visible(folder.read("пример.con")), visible(expected));
}

TEST(ConditionsFile, AnEmptyListIsAnEmptyFileAndBack) {
    TempFolder folder;
    writeConditionsFile(folder.file("empty.con"), ConditionList());
    EXPECT_EQ(folder.read("empty.con"), "");
    EXPECT_TRUE(readConditionsFile(folder.file("empty.con")).empty());
}

TEST(ConditionsFile, LevelsMayBeTabsOrSpacesInAnyMix) {
    const std::string tabs = golden("example.con");
    std::string spaces;
    bool lineStart = true;
    for (const char c : tabs) {
        spaces += (c == '\t' && lineStart) ? ' ' : c;
        lineStart = (c == '\n') || (lineStart && c == '\t');
    }
    ASSERT_NE(spaces, tabs);
    EXPECT_EQ(shape(buildFromLines(text::splitConditionLines(spaces), "x")), shape(exampleList()));
    const auto mixed = buildFromLines({"a", "\tb", " \tc", "\t d", "e"}, "x");
    EXPECT_EQ(shape(mixed), (std::vector<std::string>{"0 a", "1 b", "2 c", "2 d", "0 e"}));
}

TEST(ConditionsFile, LinesClimbBackToTheirLevelAndKeepTrailingCharacters) {
    const auto list = buildFromLines({"a", "\tb", "\t\tc", "\t\t\td ", "\tf\t", "g", "", "\th"}, "x");
    EXPECT_EQ(shape(list),
              (std::vector<std::string>{"0 a", "1 b", "2 c", "3 d ", "1 f\t", "0 g", "0 ", "1 h"}));
}

TEST(ConditionsFile, AnIndentedFirstLineIsTopLevelAndLevelsCountFromIt) {
    const auto list = buildFromLines({"\ta", "\tb"}, "x");
    EXPECT_EQ(shape(list), (std::vector<std::string>{"0 a", "1 b"}));
    try {
        buildFromLines({"\ta", "\t\tb"}, "C:\\f.con");
        FAIL() << "a jump of two levels was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(visible(error.what()), visible(levelErrorText("2) у строки \"b", "C:\\f.con")));
    }
}

TEST(ConditionsFile, AHugeLineIsQuotedShortInTheLevelError) {
    const std::string huge(1'000'000, 'x');
    try {
        buildFromLines({"a", "\t\t" + huge}, "f");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_LT(std::string_view(error.what()).size(), 200u);
        EXPECT_NE(std::string_view(error.what()).find(std::string(80, 'x') + "...\""),
                  std::string_view::npos);
    }
}

TEST(ConditionsFile, LineEndsOfEveryKindAndANulThatEndsTheText) {
    TempFolder folder;
    folder.write("ends.con", std::string("a\r\tb\n\tc\r\n\r\nd\0\te\r\n", 17));
    EXPECT_EQ(shape(readConditionsFile(folder.file("ends.con"))),
              (std::vector<std::string>{"0 a", "1 b", "1 c", "0 ", "0 d"}));
}

TEST(ConditionsFile, BytesNoEditorWroteGiveATreeOrALevelError) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 6; ++round) {
        std::string bytes(std::size_t(100'000) + random() % 3'000'000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 6 == 0 ? "\t \r\n"[random() % 4] : 1 + random() % 255);
        const auto lines = text::splitConditionLines(bytes);
        try {
            const ConditionList list = buildFromLines(lines, "random");
            EXPECT_EQ(list.nodeCount(), lines.size());
        } catch (const Error& error) {
            EXPECT_NE(std::string_view(error.what()).find("random"), std::string_view::npos);
        }
    }
}

TEST(ConditionsFile, ADeepStaircaseOfAFewMegabytesLoads) {
    std::vector<std::string> lines;
    for (std::size_t level = 0; level < 2500; ++level)
        lines.push_back(std::string(level, '\t') + "x");
    const ConditionList list = buildFromLines(lines, "deep");
    EXPECT_EQ(list.nodeCount(), 2500u);
    EXPECT_EQ(list.nodeAt(2499)->level(), 2499);
}

} // namespace
} // namespace zorvant::conditions
