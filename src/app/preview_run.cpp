#include "app/preview_run.h"

#include "sim/script.h"
#include "sim/simulation.h"
#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::app {
using namespace text::literals;

namespace {

std::optional<sim::CandleStore> loadCandles(const std::vector<LineFile>& files, std::string& failure) {
    sim::CandleStore candles;
    try {
        for (const LineFile& file : files)
            candles.loadFile(file.chart, file.line, file.file);
        candles.checkComplete();
    } catch (const Error& error) {
        failure = error.what();
        return std::nullopt;
    }
    return candles;
}

void keepChart(const sim::CandleStore& candles, const std::string& chartId, PreviewResult& result) {
    const sim::Chart* chart = chartId.empty() ? nullptr : candles.find(chartId);
    if (chart == nullptr || chart->lines.empty())
        return;
    result.chart = *chart;
    for (const sim::WrittenLine& line : result.lines)
        result.markers.push_back(candles.candleAt(*chart, 0, line.moment));
}

} // namespace

PreviewResult runPreview(const PreviewJob& job, const PreviewProgress& progress) {
    PreviewResult result;
    sim::Script script;
    try {
        script = sim::parseScript(job.scriptText);
    } catch (const sim::ScriptError& error) {
        result.failure = job.scriptName + ": " + error.what();
        return result;
    }
    std::optional<sim::CandleStore> candles = loadCandles(job.files, result.failure);
    if (!candles)
        return result;
    result.probes = job.probes;
    keepNamedVariables(result.probes, script);

    sim::RunOptions options;
    options.progress = progress;
    if (job.cancel)
        options.cancelled = [&job] { return job.cancel->load(); };
    if (!result.probes.empty())
        options.linesWritten = [&result](const sim::Simulation& simulation, std::size_t written) {
            const MomentValues values = readMoment(result.probes, simulation);
            result.moments.insert(result.moments.end(), written, values);
        };
    sim::RunResult run = sim::runScript(script, *candles, options);
    result.ran = true;
    result.lines = std::move(run.lines);
    result.recalculations = run.recalculations;
    result.warnings = std::move(run.warnings);
    result.cancelled = run.cancelled;
    if (run.error)
        result.failure = job.scriptName + ": " + run.error->error.what() + std::string(" (пересчёт "_cp) +
                         momentText(run.error->moment) + ")";
    keepChart(*candles, job.chart, result);
    return result;
}

std::string summaryLine(const PreviewResult& result) {
    return std::string("Пересчётов: "_cp) + std::to_string(result.recalculations) +
           std::string(", записано строк: "_cp) + std::to_string(result.lines.size()) +
           std::string(", предупреждений: "_cp) + std::to_string(result.warnings.total());
}

std::vector<std::string> warningLines(const PreviewResult& result) {
    std::vector<std::string> lines;
    for (const auto& warning : result.warnings.entries())
        lines.push_back(std::string("  строка "_cp) + std::to_string(warning.first.line) +
                        std::string(", позиция "_cp) + std::to_string(warning.first.column) + ": " +
                        warning.text + std::string(" (раз: "_cp) + std::to_string(warning.count) + ")");
    return lines;
}

std::string momentText(const sim::Moment& moment) {
    return sim::dateText(moment.date) + ' ' + sim::timeText(moment.time);
}

} // namespace zorvant::app
