#include "sim/simulation.h"

#include <algorithm>
#include <iterator>

namespace zorvant::sim {

std::vector<Moment> recalculationMoments(const CandleStore& candles) {
    const auto& charts = candles.charts();
    if (charts.empty())
        return {};
    const auto shortest = std::min_element(charts.begin(), charts.end(), [](const Chart& a, const Chart& b) {
                              return a.period.roughSeconds() < b.period.roughSeconds();
                          })->period;
    const auto earlier = [](const Moment& a, const Moment& b) { return a.key() < b.key(); };
    // Each line's candles come in order as a rule: merged line by line rather than sorted whole.
    std::vector<Moment> moments, line, merged;
    for (const Chart& chart : charts)
        if (chart.period == shortest)
            for (const ChartLine& chartLine : chart.lines) {
                line.clear();
                for (const Candle& candle : chartLine.candles)
                    line.push_back(lastSecondOf(candle.start, shortest));
                if (!std::is_sorted(line.begin(), line.end(), earlier))
                    std::sort(line.begin(), line.end(), earlier);
                merged.clear();
                std::merge(moments.begin(), moments.end(), line.begin(), line.end(),
                           std::back_inserter(merged), earlier);
                moments.swap(merged);
            }
    moments.erase(std::unique(moments.begin(), moments.end()), moments.end());
    return moments;
}

Simulation::Simulation(const Script& script, const CandleStore& candles, Limits limits)
    : terminal_(candles), machine_(script, terminal_, limits) {}

void Simulation::recalculateAt(const Moment& moment) {
    terminal_.setNow(moment);
    machine_.recalculate();
}

RunResult runScript(const Script& script, const CandleStore& candles, const RunOptions& options) {
    Simulation simulation(script, candles, options.limits);
    const std::vector<Moment> moments = recalculationMoments(candles);
    RunResult result;
    for (const Moment& moment : moments) {
        if (options.cancelled && options.cancelled()) {
            result.cancelled = true;
            break;
        }
        const std::size_t writtenBefore = simulation.terminal().written().size();
        try {
            simulation.recalculateAt(moment);
        } catch (const ScriptError& error) {
            result.error = RunError{moment, error};
            break;
        }
        ++result.recalculations;
        const std::size_t written = simulation.terminal().written().size() - writtenBefore;
        if (written > 0 && options.linesWritten)
            options.linesWritten(simulation, written);
        if (options.progress && result.recalculations % 256 == 0)
            options.progress(result.recalculations, moments.size());
    }
    result.lines = std::move(simulation.terminal().written());
    result.messages = simulation.terminal().messages();
    result.warnings = simulation.machine().warnings();
    return result;
}

} // namespace zorvant::sim
