#pragma once
// One run of a portfolio script over candle files, as "Проверить на истории" and zorvant-cli simulate
// make it: read the script and the files, recalculate at every candle of the shortest chart, and keep
// the lines written, what each Condition read at those moments, and the chart to draw. Meant for a
// worker thread: it touches nothing but its job. Texts are Windows-1251.
#include "app/preview_explanation.h"
#include "app/preview_lines.h"
#include "sim/candle_store.h"
#include "sim/terminal.h"
#include "sim/warnings.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorvant::app {

struct PreviewJob {
    // The name a fault of the script is reported under.
    std::string scriptName;
    std::string scriptText;
    std::vector<LineFile> files;
    // Empty: no explanations are kept.
    std::vector<ConditionProbe> probes;
    // The chart to draw; empty for none.
    std::string chart;
    // Set from another thread to stop the run before its next recalculation.
    std::shared_ptr<std::atomic<bool>> cancel;
};

struct PreviewResult {
    std::vector<sim::WrittenLine> lines;
    // One per line when the job had probes.
    std::vector<MomentValues> moments;
    std::vector<ConditionProbe> probes;
    std::optional<sim::Chart> chart;
    // Per line, the index of the chart's line-0 candle it was written on; -1 outside the chart.
    std::vector<int> markers;
    std::size_t recalculations = 0;
    sim::Warnings warnings;
    // Whether the script and the files could be read and the recalculations began.
    bool ran = false;
    bool cancelled = false;
    // What stopped the run, with its place ("FILE: строка N: ...", "SCRIPT: строка L, позиция C: ...
    // (пересчёт DD.MM.YYYY HH:MM:SS)"); empty when nothing did.
    std::string failure;
};

using PreviewProgress = std::function<void(std::size_t done, std::size_t total)>;

PreviewResult runPreview(const PreviewJob& job, const PreviewProgress& progress = {});

// "Пересчётов: N, записано строк: M, предупреждений: K".
std::string summaryLine(const PreviewResult& result);
// One line per warning: "  строка L, позиция C: TEXT (раз: N)".
std::vector<std::string> warningLines(const PreviewResult& result);
// "DD.MM.YYYY HH:MM:SS", the simulated server moment of a line.
std::string momentText(const sim::Moment& moment);

} // namespace zorvant::app
