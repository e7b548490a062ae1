#include "conditions/description_file.h"

#include "conditions/conditions_file.h"
#include "conditions/example_list.h"
#include "support/temp_folder.h"
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

std::string errorOf(std::string_view bytes, std::string_view fileName = "d.xml") {
    try {
        parseDescription(bytes, fileName);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(DescriptionFile, AnExpandedDescriptionHasNoTextLineAndAnEmptyListNoConditionLines) {
    PortfolioFields fields;
    fields.compressedText = "kept out";
    const auto lines = descriptionLines(fields, ConditionList());
    const std::vector<std::string> expected = {
        R"(<?xml version="1.0" encoding="windows-1251"?>)",
        cp("<ПОРТФЕЛЬ>"),
        cp("<НАЗВАНИЕ>My_portfel</НАЗВАНИЕ>"),
        cp("<ОПИСАНИЕ>Мой портфель</ОПИСАНИЕ>"),
        cp("<СООБЩЕНИЕ>"),
        cp("        <ТИП>РАЗВЕРНУТО</ТИП>"),
        cp("        <ФАЙЛ></ФАЙЛ>"),
        cp("</СООБЩЕНИЕ>"),
        cp("<УСЛОВИЯ>"),
        cp("</УСЛОВИЯ>"),
        cp("</ПОРТФЕЛЬ>"),
    };
    EXPECT_EQ(lines, expected);
}

TEST(DescriptionFile, MissingLinesAreAbsentAndAnEmptyBlockGivesNoList) {
    const DescriptionFile loaded =
        parseDescription(cp("<ФАЙЛ>m.txt</ФАЙЛ>\r\n<УСЛОВИЯ>\r\n</УСЛОВИЯ>\r\n"), "d");
    EXPECT_FALSE(loaded.name || loaded.comment || loaded.compressed || loaded.compressedText);
    EXPECT_EQ(loaded.messageFile, "m.txt");
    EXPECT_FALSE(loaded.conditions.has_value());
}

TEST(DescriptionFile, LinesInAnotherOrderAreTakenForTheTagTheyHold) {
    const auto loaded = parseDescription(
        cp("<УСЛОВИЯ>\n  <УСЛОВИЕ>\n</УСЛОВИЯ>\n   <ОПИСАНИЕ>c</ОПИСАНИЕ>\r"
           "<СООБЩЕНИЕ>\n<ТИП>что-то</ТИП>\n<НАЗВАНИЕ>first</НАЗВАНИЕ>\n<НАЗВАНИЕ>n</НАЗВАНИЕ>"),
        "d");
    EXPECT_EQ(loaded.comment, "c");
    EXPECT_EQ(loaded.compressed, false); // any type but "СЖАТО" is the expanded mode
    EXPECT_EQ(loaded.name, "n");
    ASSERT_TRUE(loaded.conditions.has_value());
    EXPECT_EQ(shape(*loaded.conditions), std::vector<std::string>{cp("0 <УСЛОВИЕ>")});
}

TEST(DescriptionFile, ValuesStopAtTheFirstCloseAndNeedOne) {
    const auto loaded = parseDescription(cp("<НАЗВАНИЕ>a</b</НАЗВАНИЕ>\r\n<ОПИСАНИЕ>open\r\n"
                                            "<СООБЩЕНИЕ>\r\n<ТИП>СЖАТО</ТИП>\r\nno text line\r\n"),
                                         "d");
    EXPECT_EQ(loaded.name, "a");
    EXPECT_EQ(loaded.comment, "");
    EXPECT_EQ(loaded.compressed, true);
    EXPECT_FALSE(loaded.compressedText.has_value());
}

TEST(DescriptionFile, ATruncatedMessageOrConditionsBlockIsAnErrorNamingTheFile) {
    const std::string head = cp("<НАЗВАНИЕ>n</НАЗВАНИЕ>\r\n");
    const std::string message = cp("Файл описания C:\\p.xml обрывается внутри блока <СООБЩЕНИЕ>");
    EXPECT_EQ(errorOf(head + cp("<СООБЩЕНИЕ>\r\n"), "C:\\p.xml"), message);
    EXPECT_EQ(errorOf(head + cp("<СООБЩЕНИЕ>\r\n<ТИП>СЖАТО</ТИП>"), "C:\\p.xml"), message);
    EXPECT_EQ(errorOf(head + cp("<УСЛОВИЯ>\r\n<УСЛОВИЕ>\r\n\t<ЧАСТЬ1>\r\n"), "C:\\p.xml"),
              cp("Файл описания C:\\p.xml обрывается внутри блока <УСЛОВИЯ>"));
    EXPECT_EQ(errorOf(cp("<УСЛОВИЯ>")), cp("Файл описания d.xml обрывается внутри блока <УСЛОВИЯ>"));
}

TEST(DescriptionFile, ALevelJumpInTheBlockNamesTheDescription) {
    const std::string error = errorOf(cp("<УСЛОВИЯ>\r\na\r\n\t\tb\r\n</УСЛОВИЯ>\r\n"), "p.xml");
    EXPECT_EQ(error, cp("Неверный уровень (2) у строки \"b\" в файле p.xml"));
}

TEST(DescriptionFile, ANulEndsTheTextAndRandomBytesNeverCrash) {
    EXPECT_EQ(parseDescription(std::string("<x>\0<УСЛОВИЯ>", 13), "d").conditions, std::nullopt);
    std::mt19937 random(8122026);
    const std::string tags[] = {cp("<СООБЩЕНИЕ>"), cp("<УСЛОВИЯ>"), cp("</УСЛОВИЯ>"), cp("<ТИП>СЖАТО</ТИП>"),
                                cp("<НАЗВАНИЕ>")};
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        while (bytes.size() < 20'000)
            bytes += random() % 10 == 0 ? tags[random() % 5] : std::string(1, char(random() % 256));
        const std::string error = errorOf(bytes);
        EXPECT_TRUE(error == "no error" || error.find("d.xml") != std::string::npos) << visible(error);
    }
}

TEST(DescriptionFile, HugeLinesOfAFewMegabytesReadWhole) {
    const std::string name(3'000'000, 'n');
    const std::string condition(2'000'000, 'c');
    const auto loaded = parseDescription(cp("<НАЗВАНИЕ>") + name + cp("</НАЗВАНИЕ>\r\n<УСЛОВИЯ>\r\n") +
                                             condition + cp("\r\n</УСЛОВИЯ>\r\n"),
                                         "d");
    EXPECT_EQ(loaded.name, name);
    ASSERT_TRUE(loaded.conditions.has_value());
    EXPECT_EQ(loaded.conditions->topLevel().at(0)->text, condition);
}

} // namespace
} // namespace zorvant::conditions
