// Reading and writing condition lists of growing size, to see that a file of a few megabytes loads
// in a moment and that the cost grows in step with the file.
#include "conditions/conditions_file.h"
#include "conditions/description_file.h"
#include "conditions/editor.h"
#include "text/lines.h"

#include <benchmark/benchmark.h>

namespace {
using namespace zorvant;

conditions::ConditionList listOfConditions(std::int64_t count) {
    conditions::ConditionList list;
    const conditions::ConditionValues values{{"current", 1, "PRICE", "5 min"},
                                             "crosses",
                                             conditions::SecondOperand::Chart,
                                             {"current", 2, "SBER", "1 h"},
                                             0};
    for (std::int64_t i = 0; i < count; ++i)
        conditions::addCondition(list, values, "AND", ',');
    return list;
}

void ReadConditionLines(benchmark::State& state) {
    const std::string bytes =
        text::joinCrLf(conditions::conditionFileLines(listOfConditions(state.range(0))));
    for (auto _ : state) {
        auto list = conditions::buildFromLines(text::splitConditionLines(bytes), "bench");
        benchmark::DoNotOptimize(list);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadConditionLines)->Range(16, 16384);

void WriteDescriptionLines(benchmark::State& state) {
    const auto list = listOfConditions(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(conditions::descriptionLines(conditions::PortfolioFields{}, list));
}
BENCHMARK(WriteDescriptionLines)->Range(16, 16384);

void ParseDescription(benchmark::State& state) {
    const auto list = listOfConditions(state.range(0));
    const std::string bytes =
        text::joinCrLf(conditions::descriptionLines(conditions::PortfolioFields{}, list));
    for (auto _ : state)
        benchmark::DoNotOptimize(conditions::parseDescription(bytes, "bench"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ParseDescription)->Range(16, 16384);

} // namespace
