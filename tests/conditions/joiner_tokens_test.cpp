#include "conditions/joiner_tokens.h"

#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::conditions {
namespace {
using namespace text::literals;
using K = JoinerToken;

std::vector<K> kinds(std::string_view value) {
    std::vector<K> out;
    for (const auto& token : tokenizeJoiners(value))
        out.push_back(token.kind);
    return out;
}

TEST(JoinerTokens, ReadBracketsAndJoinersWhateverTheSpacing) {
    EXPECT_EQ(kinds("ИЛИ"_cp), (std::vector<K>{K::Or}));
    EXPECT_EQ(kinds("И"_cp), (std::vector<K>{K::And}));
    EXPECT_EQ(kinds(") ИЛИ ("_cp), (std::vector<K>{K::Close, K::Or, K::Open}));
    EXPECT_EQ(kinds(")ИЛИ("_cp), (std::vector<K>{K::Close, K::Or, K::Open}));
    EXPECT_EQ(kinds(") ) И ( ("_cp), (std::vector<K>{K::Close, K::Close, K::And, K::Open, K::Open}));
    EXPECT_EQ(kinds("И   ("_cp), (std::vector<K>{K::And, K::Open}));
    EXPECT_EQ(kinds("( "_cp), (std::vector<K>{K::Open}));
    EXPECT_EQ(kinds(""), std::vector<K>{});
    EXPECT_EQ(kinds("abc ,;"), std::vector<K>{});
}

TEST(JoinerTokens, TellAndFromTheLettersOfOr) {
    // "ИИЛИ": an И, then an ИЛИ whose last letter is no И.
    EXPECT_EQ(kinds("ИИЛИ"_cp), (std::vector<K>{K::And, K::Or}));
    EXPECT_EQ(kinds("ИЛИИ"_cp), (std::vector<K>{K::Or, K::And}));
    EXPECT_EQ(kinds("ИЛИИЛИ"_cp), (std::vector<K>{K::Or, K::Or}));
    EXPECT_EQ(kinds("ЛИ"_cp),
              (std::vector<K>{K::And})); // a start before the first character counts as the first
    const auto tokens = tokenizeJoiners(") И"_cp);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[1].position, 2u);
}

} // namespace
} // namespace zorvant::conditions
