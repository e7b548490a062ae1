#pragma once
// Condition lists shaped as the editor builds them, for generator tests. Texts are Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <variant>

namespace zorvant::testing {

struct ChartPart {
    std::string time;
    std::string line = "0";
    std::string chart = "PRICE";
    std::string interval;
};
struct ValueLevel {
    std::string value;
};
using SecondPart = std::variant<std::monostate, ChartPart, ValueLevel>;

ChartPart currentPart(std::string_view intervalUtf8, std::string chart = "PRICE", std::string line = "0");

conditions::Node& addCondition(conditions::ConditionList& list, const ChartPart& part1,
                               std::string_view action, const SecondPart& part2 = {});
conditions::Node& addOperation(conditions::ConditionList& list, std::string_view typeValue);

} // namespace zorvant::testing
