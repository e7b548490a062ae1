// Generation time against the number of conditions; it should grow in proportion (BigO reports oN).
#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "qpl/generator.h"
#include "qpl/library.h"

#include <benchmark/benchmark.h>

namespace {
using namespace zorvant;
namespace labels = conditions::labels;
namespace texts = conditions::texts;

void addChartFields(conditions::Node& part, std::size_t i) {
    part.addChild(conditions::fieldLine(texts::kTime, labels::kTimes[i % 2]));
    part.addChild(conditions::fieldLine(texts::kLine, std::to_string(i % 11)));
    part.addChild(conditions::fieldLine(texts::kChart, "CHART" + std::to_string(i % 7)));
    part.addChild(conditions::fieldLine(texts::kInterval, labels::kIntervals[i % labels::kIntervals.size()]));
}

// Every action in turn, second operands alternating between a chart line and a level, joined by И and ИЛИ.
conditions::ConditionList listOf(std::size_t count) {
    conditions::ConditionList list;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            conditions::Node& operation = list.addTopLevel(std::string(texts::kOperation));
            operation.addChild(conditions::fieldLine(texts::kType, labels::kJoiners[i % 2]));
            operation.addChild(std::string(texts::kOperationEnd));
        }
        conditions::Node& condition = list.addTopLevel(std::string(texts::kCondition));
        conditions::Node& first = condition.addChild(std::string(texts::kPart1));
        addChartFields(first, i);
        first.addChild(std::string(texts::kPart1End));
        const std::string_view action = labels::kActions[i % labels::kActions.size()];
        condition.addChild(conditions::fieldLine(texts::kAction, action));
        if (!labels::isOneOperandAction(action)) {
            conditions::Node& second = condition.addChild(std::string(texts::kPart2));
            if (i % 2 == 0)
                addChartFields(second, i + 3);
            else
                second.addChild(conditions::fieldLine(texts::kValue, std::to_string(100 + i)));
            second.addChild(std::string(texts::kPart2End));
        }
        condition.addChild(std::string(texts::kConditionEnd));
    }
    return list;
}

void GenerateScript(benchmark::State& state) {
    const auto list = listOf(static_cast<std::size_t>(state.range(0)));
    qpl::GeneratorInput input;
    input.conditions = &list;
    input.library = qpl::libraryLines();
    std::size_t lines = 0;
    for (auto _ : state) {
        const qpl::GeneratedScript script = qpl::generateScript(input);
        lines = script.lines.size();
        benchmark::DoNotOptimize(script.lines.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(GenerateScript)->Arg(10)->Arg(100)->Arg(1000)->Complexity(benchmark::oN);

} // namespace
