#include "list_builder.h"

#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/cp1251.h"

namespace zorvant::testing {
namespace texts = conditions::texts;
using conditions::fieldLine;

namespace {
void addChartFields(conditions::Node& part, const ChartPart& fields) {
    part.addChild(fieldLine(texts::kTime, fields.time));
    part.addChild(fieldLine(texts::kLine, fields.line));
    part.addChild(fieldLine(texts::kChart, fields.chart));
    part.addChild(fieldLine(texts::kInterval, fields.interval));
}
} // namespace

ChartPart currentPart(std::string_view intervalUtf8, std::string chart, std::string line) {
    return {std::string(conditions::labels::kCurrentValue), std::move(line), std::move(chart),
            text::fromUtf8(intervalUtf8)};
}

conditions::Node& addCondition(conditions::ConditionList& list, const ChartPart& part1,
                               std::string_view action, const SecondPart& part2) {
    conditions::Node& condition = list.addTopLevel(std::string(texts::kCondition));
    conditions::Node& first = condition.addChild(std::string(texts::kPart1));
    addChartFields(first, part1);
    first.addChild(std::string(texts::kPart1End));
    condition.addChild(fieldLine(texts::kAction, action));
    if (!std::holds_alternative<std::monostate>(part2)) {
        conditions::Node& second = condition.addChild(std::string(texts::kPart2));
        if (const auto* chart = std::get_if<ChartPart>(&part2))
            addChartFields(second, *chart);
        else
            second.addChild(fieldLine(texts::kValue, std::get<ValueLevel>(part2).value));
        second.addChild(std::string(texts::kPart2End));
    }
    condition.addChild(std::string(texts::kConditionEnd));
    return condition;
}

conditions::Node& addOperation(conditions::ConditionList& list, std::string_view typeValue) {
    conditions::Node& operation = list.addTopLevel(std::string(texts::kOperation));
    operation.addChild(fieldLine(texts::kType, typeValue));
    operation.addChild(std::string(texts::kOperationEnd));
    return operation;
}

} // namespace zorvant::testing
