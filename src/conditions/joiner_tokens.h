#pragma once
// The tokens of an Operation's ТИП value: brackets and the joiners "И" and "ИЛИ". Every other character
// separates tokens and is otherwise ignored, so spacing never changes the meaning.
#include <cstddef>
#include <string_view>
#include <vector>

namespace zorvant::conditions {

enum class JoinerToken { Open, Close, And, Or };

struct PlacedToken {
    JoinerToken kind;
    std::size_t position; // byte offset of the token's first character
};

std::vector<PlacedToken> tokenizeJoiners(std::string_view typeValue);

} // namespace zorvant::conditions
