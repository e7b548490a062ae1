// Recalculations per second of the example portfolio's generated script in the QPL simulator, over 50
// and 150 five-minute candles on the two lines of its chart (every recalculation sees the candles so far).
#include "conditions/conditions_file.h"
#include "qpl/generator.h"
#include "qpl/library.h"
#include "sim/simulation.h"
#include "text/lines.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {
using namespace zorvant;

sim::ChartLine lineOf(int number, int candles) {
    sim::ChartLine line{"L" + std::to_string(number), {sim::Period::Kind::Minutes, 5}, {}};
    for (int i = 0; i < candles; ++i) {
        const double price = 250 + 10 * std::sin(i / (number == 0 ? 7.0 : 11.0));
        const int minutes = 10 * 60 + i * 5;
        line.candles.push_back({{20261207, (minutes / 60) * 10000 + (minutes % 60) * 100},
                                price,
                                price + 1,
                                price - 1,
                                price,
                                100});
    }
    return line;
}

sim::Script exampleScript() {
    const auto list = conditions::readConditionsFile(ZORVANT_EXAMPLES "/portfel.con");
    qpl::GeneratorInput input;
    input.conditions = &list;
    input.library = qpl::libraryLines();
    input.fileNameMessage = "messages.txt";
    return sim::parseScript(text::joinCrLf(qpl::generateScript(input).lines));
}

void SimulatorRecalculations(benchmark::State& state) {
    sim::CandleStore candles;
    for (int line = 0; line < 2; ++line)
        candles.addLine("PRICE", line, lineOf(line, static_cast<int>(state.range(0))));
    const sim::Script script = exampleScript();
    const auto moments = sim::recalculationMoments(candles);
    std::size_t done = 0;
    for (auto _ : state) {
        sim::Simulation simulation(script, candles);
        for (const auto& moment : moments)
            simulation.recalculateAt(moment);
        done += moments.size();
    }
    state.counters["recalculations/s"] =
        benchmark::Counter(static_cast<double>(done), benchmark::Counter::kIsRate);
}
BENCHMARK(SimulatorRecalculations)->Arg(50)->Arg(150)->Unit(benchmark::kMillisecond);

} // namespace
