#include "conditions/tags.h"

#include "conditions/node_texts.h"

#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using namespace text::literals;

Node nodeWith(std::initializer_list<std::string_view> children) {
    Node node("parent");
    for (const auto child : children)
        node.addChild(std::string(child));
    return node;
}

TEST(GetTagValue, ReadsTheFirstMatchingLineButNeverTheLastChild) {
    const Node part = nodeWith({"<ВРЕМЯ>ТЕКУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>"_cp, "<ЛИНИЯ>1</ЛИНИЯ>"_cp,
                                "<ЛИНИЯ>2</ЛИНИЯ>"_cp, "<ГРАФИК>PRICE</ГРАФИК>"_cp});
    EXPECT_EQ(GetTagValue(&part, texts::kTime), "ТЕКУЩЕЕ ЗНАЧЕНИЕ"_cp);
    EXPECT_EQ(GetTagValue(&part, texts::kLine), "1");
    EXPECT_EQ(GetTagValue(&part, texts::kChart), ""); // the last child
    EXPECT_EQ(GetTagValue(nullptr, texts::kLine), "");
    const Node single = nodeWith({"<ТИП>И</ТИП>"_cp});
    EXPECT_EQ(GetTagValue(&single, texts::kType), "");
}

TEST(GetTagValue, CutsAtTheFirstCloseCountedFromTheStartOfTheText) {
    const Node operation = nodeWith({"<ТИП>( </ТИП>"_cp, "</ОПЕРАЦИЯ>"_cp});
    EXPECT_EQ(GetTagValue(&operation, texts::kType), "( ");
    const Node unclosed = nodeWith({"<ТИП>И"_cp, "end"});
    EXPECT_EQ(GetTagValue(&unclosed, texts::kType), "");
    const Node empty = nodeWith({"<ТИП></ТИП>"_cp, "end"});
    EXPECT_EQ(GetTagValue(&empty, texts::kType), "");
    // The value starts at the tag's length from the text's start, not after the tag found further on.
    const Node shifted = nodeWith({"ab<ТИП>И</ТИП>"_cp, "end"});
    EXPECT_EQ(GetTagValue(&shifted, texts::kType), "П>И"_cp);
    const Node inner = nodeWith({"<ЗНАЧЕНИЕ>a</b</ЗНАЧЕНИЕ>"_cp, "end"});
    EXPECT_EQ(GetTagValue(&inner, texts::kValue), "a");
}

TEST(SetTagValue, ReplacesTheFirstMatchOnlyAndNeverAddsALine) {
    Node operation = nodeWith({"<ТИП>И</ТИП>"_cp, "<ТИП>ИЛИ</ТИП>"_cp, "</ОПЕРАЦИЯ>"_cp});
    SetTagValue(operation, texts::kType, ") ИЛИ"_cp);
    EXPECT_EQ(operation.child(0)->text, "<ТИП>) ИЛИ</ТИП>"_cp);
    EXPECT_EQ(operation.child(1)->text, "<ТИП>ИЛИ</ТИП>"_cp);
    Node lastOnly = nodeWith({"x", "<ТИП>И</ТИП>"_cp});
    SetTagValue(lastOnly, texts::kType, "("); // its only match is the last child
    EXPECT_EQ(lastOnly.child(1)->text, "<ТИП>И</ТИП>"_cp);
    EXPECT_EQ(lastOnly.childCount(), 2u);
}

TEST(ReadAction, TakesTheTextFromTheEleventhCharacter) {
    const Node condition =
        nodeWith({"<ЧАСТЬ1>"_cp, "<ДЕЙСТВИЕ>СВЕЧА ПАДЕНИЯ (CLOSE<OPEN)</ДЕЙСТВИЕ>"_cp, "</УСЛОВИЕ>"_cp});
    EXPECT_EQ(readAction(condition), "СВЕЧА ПАДЕНИЯ (CLOSE<OPEN)"_cp);
    EXPECT_EQ(actionOfLine("<ДЕЙСТВИЕ>Пересекает"_cp), "");
    EXPECT_EQ(fieldLine(texts::kValue, "1500,5"), "<ЗНАЧЕНИЕ>1500,5</ЗНАЧЕНИЕ>"_cp);
}

} // namespace
} // namespace zorvant::conditions
