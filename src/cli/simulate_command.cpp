#include "cli/simulate_command.h"

#include "app/preview_run.h"
#include "app/tform_preview.h"
#include "cli/headless_window.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <ostream>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorvant::cli {
namespace {

struct Arguments {
    std::string script;
    std::vector<app::LineFile> lines;
    bool explain = false;
};

bool standardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

bool parseArguments(const std::vector<std::string>& args, Arguments& out, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--line") {
            const auto source =
                i + 1 < args.size() ? app::parseLineFile(text::fromUtf8(args[i + 1])) : std::nullopt;
            if (!source) {
                err << "zorvant-cli simulate: после --line ожидалось ГРАФИК:N=ФАЙЛ\n";
                return false;
            }
            out.lines.push_back(*source);
            ++i;
        } else if (args[i] == "--explain") {
            out.explain = true;
        } else if (out.script.empty() && !args[i].starts_with("--")) {
            out.script = text::fromUtf8(args[i]);
        } else {
            err << "zorvant-cli simulate: лишний аргумент «" << args[i] << "»\n";
            return false;
        }
    }
    if (out.script.empty() || out.lines.empty()) {
        err << "Использование: zorvant-cli simulate СКРИПТ.qpl|ПОРТФЕЛЬ.xml|УСЛОВИЯ.con --line ГРАФИК:N=ФАЙЛ "
               "[--line ...] [--explain]\n";
        return false;
    }
    if (out.explain && !isPortfolioFile(out.script)) {
        err << "zorvant-cli simulate: для --explain нужны условия портфеля: укажите описание портфеля "
               "(*.xml) "
               "или файл условий (*.con) вместо скрипта\n";
        return false;
    }
    return true;
}

class ProgressBar {
public:
    explicit ProgressBar(std::ostream& err) : err_(err), start_(std::chrono::steady_clock::now()) {}

    void show(std::size_t done, std::size_t total) {
        if (!shown_ && std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1))
            return;
        shown_ = true;
        const int width = 40;
        const int filled = total == 0 ? width : static_cast<int>(done * width / total);
        err_ << "\r[" << std::string(filled, '#') << std::string(width - filled, ' ') << "] " << done << '/'
             << total << std::flush;
    }
    void finish() {
        if (shown_)
            err_ << '\n';
    }

private:
    std::ostream& err_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
};

// The chart lines the conditions read that no --line gives a file for are named; true when there are none.
bool everyLineHasAFile(const app::TForm1& form, const std::vector<app::LineFile>& given, std::ostream& err) {
    bool complete = true;
    for (const app::LineFile& needed : app::chartLinesOf(form.ConditionsView.items)) {
        if (std::any_of(given.begin(), given.end(),
                        [&](const app::LineFile& file) { return app::sameChartLine(file, needed); }))
            continue;
        const std::string line = text::toUtf8(needed.chart) + ":" + std::to_string(needed.line);
        err << "zorvant-cli simulate: условия читают линию " << line
            << ", а файла для неё нет: добавьте --line " << line << "=ФАЙЛ\n";
        complete = false;
    }
    return complete;
}

// A description or conditions file is turned into its script the way "Генерировать скрипт QPL" does it;
// a script file is taken as it stands. Nothing when the conditions read a line without a file. Throws
// zorvant::Error when a file cannot be read.
std::optional<app::PreviewJob> jobOf(const Arguments& arguments, std::ostream& err) {
    if (!isPortfolioFile(arguments.script))
        return app::PreviewJob{
            arguments.script, platform::readFile(arguments.script), arguments.lines, {}, {}, {}};
    HeadlessWindow window(err);
    loadPortfolio(window, arguments.script);
    if (!everyLineHasAFile(window.form1, arguments.lines, err))
        return std::nullopt;
    std::optional<app::PreviewJob> job = app::portfolioPreviewJob(window.form1, arguments.lines);
    if (!job)
        return std::nullopt;
    job->chart.clear();
    if (!arguments.explain)
        job->probes.clear();
    return job;
}

void printLines(const app::PreviewResult& result, std::ostream& out) {
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        const auto& line = result.lines[i];
        out << app::momentText(line.moment) << '\t' << text::toUtf8(line.text) << '\n';
        if (i < result.moments.size())
            for (const auto& condition : app::explainMoment(result.probes, result.moments[i]))
                out << "  " << text::toUtf8(app::explanationLine(condition)) << '\n';
    }
}

void printSummary(const app::PreviewResult& result, std::ostream& err) {
    err << text::toUtf8(app::summaryLine(result)) << '\n';
    for (const auto& line : app::warningLines(result))
        err << text::toUtf8(line) << '\n';
}

class SimulateCommand : public Command {
public:
    std::string_view name() const override { return "simulate"; }
    std::string_view usage() const override {
        return "simulate СКРИПТ.qpl|ПОРТФЕЛЬ.xml --line ГРАФИК:N=ФАЙЛ [--line ...] [--explain]   прогнать "
               "портфель по свечам";
    }

    int run(const std::vector<std::string>& args, Streams streams) override {
        Arguments arguments;
        if (!parseArguments(args, arguments, streams.err))
            return 2;
        try {
            const std::optional<app::PreviewJob> job = jobOf(arguments, streams.err);
            return job ? simulate(*job, streams) : 2;
        } catch (const Error& error) {
            streams.err << text::toUtf8(error.what()) << '\n';
            return 1;
        }
    }

private:
    static int simulate(const app::PreviewJob& job, Streams streams) {
        ProgressBar bar(streams.err);
        app::PreviewProgress progress;
        if (standardErrorIsTerminal())
            progress = [&bar](std::size_t done, std::size_t total) { bar.show(done, total); };
        const app::PreviewResult result = app::runPreview(job, progress);
        bar.finish();
        if (result.ran) {
            printLines(result, streams.out);
            printSummary(result, streams.err);
        }
        if (result.failure.empty())
            return 0;
        streams.err << text::toUtf8(result.failure) << '\n';
        return 1;
    }
};

} // namespace

std::unique_ptr<Command> makeSimulateCommand() {
    return std::make_unique<SimulateCommand>();
}

} // namespace zorvant::cli
