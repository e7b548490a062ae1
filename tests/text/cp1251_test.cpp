#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::text {
namespace {

TEST(Cp1251, EveryByteSurvivesARoundTripThroughUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(fromUtf8(toUtf8(byte)), byte) << "byte " << b;
    }
}

TEST(Cp1251, MapsCyrillicAndPunctuationToTheirCodePoints) {
    EXPECT_EQ(toUtf8("\xC0\xFF\xA8\xB8"), "АяЁё");
    EXPECT_EQ(toUtf8("\x97\xB9\x88"), "—№€");
    EXPECT_EQ(fromUtf8("Сигнал: покупка SBER — ёлка"),
              "\xD1\xE8\xE3\xED\xE0\xEB: \xEF\xEE\xEA\xF3\xEF\xEA\xE0 SBER \x97 \xB8\xEB\xEA\xE0");
}

TEST(Cp1251, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(fromUtf8("a中b😀c"), "a?b?c");
    EXPECT_EQ(fromUtf8("x\xC3y"), "x?y");  // truncated two-byte sequence
    EXPECT_EQ(fromUtf8("\xE2\x82"), "??"); // sequence cut off at the end
    EXPECT_EQ(fromUtf8("é"), "?");         // Latin-1 letter not in the code page
}

TEST(Cp1251, FindsWhatTheCodePageCannotHold) {
    EXPECT_EQ(firstUnrepresentable("Цена 5 — №1 ?"), std::nullopt);
    EXPECT_EQ(firstUnrepresentable("Цена 5 ₽ 😀"), U'₽');
    EXPECT_EQ(firstUnrepresentable("рост 😀"), U'😀');
}

TEST(Cp1251, TellsAFileSavedAsUnicodeFromOneInTheCodePage) {
    const std::pair<std::string, std::optional<std::string_view>> cases[] = {
        {fromUtf8("<УСЛОВИЕ>\r\n"), std::nullopt},
        {"plain ASCII", std::nullopt},
        {"<УСЛОВИЕ>\r\n", "UTF-8"},
        {"\xEF\xBB\xBFplain", "UTF-8"},
        {std::string("\xFF\xFE<\0", 4), "UTF-16"},
    };
    for (const auto& [bytes, encoding] : cases)
        EXPECT_EQ(unicodeEncodingOf(bytes), encoding) << bytes;
}

TEST(Cp1251, LiteralsAreConvertedAtCompileTime) {
    constexpr std::string_view key = "Пароль="_cp;
    static_assert(key.size() == 7);
    static_assert(key[0] == '\xCF');
    EXPECT_EQ(key, "\xCF\xE0\xF0\xEE\xEB\xFC=");
    constexpr auto array = toCp1251Array("ЁЖ-ok");
    static_assert(array.view() == std::string_view("\xA8\xC6-ok"));
}

} // namespace
} // namespace zorvant::text
