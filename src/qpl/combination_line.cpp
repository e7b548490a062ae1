#include "qpl/combination_line.h"

#include "conditions/joiner_tokens.h"

#include <algorithm>

namespace zorvant::qpl {

void CombinationLine::addCondition(int number) {
    if (lastCondition_ != 0 && !joined_)
        unjoined_.emplace_back(lastCondition_, number);
    lastCondition_ = number;
    joined_ = false;
    text_ += " condition" + std::to_string(number);
}

void CombinationLine::addOperation(std::string_view typeValue) {
    using conditions::JoinerToken;
    for (const auto& token : conditions::tokenizeJoiners(typeValue)) {
        switch (token.kind) {
        case JoinerToken::Open:
            text_ += "(";
            break;
        case JoinerToken::Close:
            text_ += ")";
            break;
        case JoinerToken::And:
            text_ += " * ";
            joined_ = true;
            break;
        case JoinerToken::Or:
            text_ += " + ";
            joined_ = true;
            break;
        }
    }
}

bool CombinationLine::bracketsBalanced() const {
    return std::count(text_.begin(), text_.end(), '(') == std::count(text_.begin(), text_.end(), ')');
}

} // namespace zorvant::qpl
