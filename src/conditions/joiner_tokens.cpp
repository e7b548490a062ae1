#include "conditions/joiner_tokens.h"

#include "conditions/labels.h"

namespace zorvant::conditions {

std::vector<PlacedToken> tokenizeJoiners(std::string_view value) {
    const auto orAt = [&](std::size_t i) { return value.substr(i, 3) == labels::kOr; };
    std::vector<PlacedToken> tokens;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '(') {
            tokens.push_back({JoinerToken::Open, i});
        } else if (c == ')') {
            tokens.push_back({JoinerToken::Close, i});
        } else if (orAt(i)) {
            tokens.push_back({JoinerToken::Or, i});
        } else if (value.substr(i, 1) == labels::kAnd && !orAt(i >= 2 ? i - 2 : 0)) {
            // An "И" that is the last letter of an "ИЛИ" is no joiner.
            tokens.push_back({JoinerToken::And, i});
        }
    }
    return tokens;
}

} // namespace zorvant::conditions
