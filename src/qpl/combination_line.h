#pragma once
// The combination line "Condition_I = ...": each condition{C} is 0 or 1, so " * " is AND and " + " is OR,
// and the portfolio fires when Condition_I is greater than 0.
#include "text/cp1251.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvant::qpl {
using namespace text::literals;

inline constexpr std::string_view kBracketError =
    "Не корректное объединение условий: количество правых скобок не равно количеству левых!"_cp;

class CombinationLine {
public:
    void addCondition(int number);
    // The brackets and joiners of an Operation's ТИП value, in their order; other characters add nothing.
    void addOperation(std::string_view typeValue);

    const std::string& text() const { return text_; }
    bool bracketsBalanced() const;
    // Numbers of conditions that follow each other with no "И" or "ИЛИ" between them, which leaves
    // the line without an operator there.
    const std::vector<std::pair<int, int>>& unjoined() const { return unjoined_; }

private:
    std::string text_ = "Condition_I = ";
    int lastCondition_ = 0;
    bool joined_ = false;
    std::vector<std::pair<int, int>> unjoined_;
};

} // namespace zorvant::qpl
