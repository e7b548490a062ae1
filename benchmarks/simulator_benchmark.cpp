// A generated three-condition portfolio over a year of one-minute candles (200 000 of them, two lines of
// one chart): recalculations per second, the CPU time and peak memory of the whole run, and a fixed
// stretch of the history to count instructions on under callgrind.
#include "list_builder.h"

#include "conditions/labels.h"
#include "qpl/generator.h"
#include "qpl/library.h"
#include "sim/simulation.h"
#include "text/cp1251.h"
#include "text/lines.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <fstream>
#include <random>
#include <string>

namespace {
using namespace zorvant;
namespace labels = conditions::labels;

// 404 trading days of 10:30 to 18:44.
constexpr int kCandles = 200000;

// A random walk on the trading day 10:30 to 18:44, line 0 the price and line 1 its moving average.
sim::CandleStore minuteCandles() {
    std::mt19937 random(7);
    std::normal_distribution<double> step(0, 0.3);
    sim::ChartLine price{"SBER", {sim::Period::Kind::Minutes, 1}, {}};
    sim::ChartLine average{"MA", {sim::Period::Kind::Minutes, 1}, {}};
    double close = 100, ma = 100;
    long long day = sim::dayNumber(20090302);
    int minute = 10 * 60 + 30;
    for (int i = 0; i < kCandles; ++i) {
        const double open = close;
        close = std::max(1.0, open + step(random));
        ma += (close - ma) / 20;
        const sim::Moment start{sim::dateOfDay(day), minute / 60 * 10000 + minute % 60 * 100};
        price.candles.push_back(
            {start, open, std::max(open, close) + 0.1, std::min(open, close) - 0.1, close, 10});
        average.candles.push_back({start, ma, ma, ma, ma, 0});
        if (++minute == 18 * 60 + 45) {
            minute = 10 * 60 + 30;
            ++day;
        }
    }
    sim::CandleStore store;
    store.addLine("PRICE", 0, std::move(price));
    store.addLine("PRICE", 1, std::move(average));
    return store;
}

// (PRICE crosses MA upward AND PRICE is above 100) OR PRICE turns.
sim::Script threeConditions() {
    conditions::ConditionList list;
    testing::addOperation(list, "(");
    testing::addCondition(list, testing::currentPart("1 МИН", "PRICE", "0"), labels::kCrossesUp,
                          testing::currentPart("1 МИН", "PRICE", "1"));
    testing::addOperation(list, text::fromUtf8("И"));
    testing::addCondition(list, testing::currentPart("1 МИН", "PRICE", "0"), labels::kGreater,
                          testing::ValueLevel{"100"});
    testing::addOperation(list, text::fromUtf8(") ИЛИ"));
    testing::addCondition(list, testing::currentPart("1 МИН", "PRICE", "0"), labels::kTurns);
    qpl::GeneratorInput input;
    input.fileNameMessage = "C:\\Mess\\m1.txt";
    input.conditions = &list;
    input.library = qpl::libraryLines();
    return sim::parseScript(text::joinCrLf(qpl::generateScript(input).lines));
}

double peakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

void RecalculateThreeConditionPortfolio(benchmark::State& state) {
    const sim::CandleStore store = minuteCandles();
    const sim::Script script = threeConditions();
    const std::vector<sim::Moment> moments = sim::recalculationMoments(store);
    sim::Simulation simulation(script, store);
    std::size_t next = 0;
    double steps = 0;
    for (auto _ : state) {
        simulation.recalculateAt(moments[next]);
        steps += static_cast<double>(simulation.machine().steps());
        next = (next + 1) % moments.size();
        if (simulation.terminal().written().size() > 10000)
            simulation.terminal().written().clear();
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()));
    state.counters["recalculations_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["statements_per_recalculation"] = steps / static_cast<double>(state.iterations());
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
    state.counters["candle_MB"] = static_cast<double>(2 * kCandles * sizeof(sim::Candle)) / (1024 * 1024);
}
BENCHMARK(RecalculateThreeConditionPortfolio)->Unit(benchmark::kMicrosecond)->MinTime(3);

// A whole run of the clock over every candle, as zorvant-cli simulate does it.
void RunYearOfMinuteCandles(benchmark::State& state) {
    const sim::CandleStore store = minuteCandles();
    const sim::Script script = threeConditions();
    std::size_t recalculations = 0;
    for (auto _ : state) {
        const sim::RunResult result = sim::runScript(script, store);
        recalculations += result.recalculations;
        benchmark::DoNotOptimize(result.lines.size());
    }
    state.counters["recalculations_per_second"] =
        benchmark::Counter(static_cast<double>(recalculations), benchmark::Counter::kIsRate);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}
BENCHMARK(RunYearOfMinuteCandles)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1000 recalculations from the 1000th candle on, always the same, for instruction counts under
// callgrind (docs/performance.md has the command).
// The first candles are left out: with no history behind them the script searches back 300 steps.
void ThousandRecalculations(benchmark::State& state) {
    const sim::CandleStore store = minuteCandles();
    const sim::Script script = threeConditions();
    const std::vector<sim::Moment> moments = sim::recalculationMoments(store);
    for (auto _ : state) {
        sim::Simulation simulation(script, store);
        for (std::size_t i = 1000; i < 2000; ++i)
            simulation.recalculateAt(moments[i]);
        benchmark::DoNotOptimize(simulation.terminal().written().size());
    }
}
BENCHMARK(ThousandRecalculations)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
