#include "cli/simulate_command.h"

#include "platform/platform.h"
#include "sim/candle_store.h"
#include "sim/script.h"
#include "sim/simulation.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorvant::cli {
namespace {

struct LineSource {
    std::string chart;
    int number = 0;
    std::string file;
};

struct Arguments {
    std::string script;
    std::vector<LineSource> lines;
};

bool standardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

// CHART:N=FILE, every part as Windows-1251.
bool parseLineSource(std::string_view utf8, LineSource& out) {
    const std::string text = text::fromUtf8(utf8);
    const auto colon = text.find(':');
    const auto equals = text.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || colon == 0 || equals == std::string::npos || equals == colon + 1 ||
        equals + 1 == text.size())
        return false;
    const std::string number = text.substr(colon + 1, equals - colon - 1);
    if (number.size() > 3 || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = {text.substr(0, colon), std::stoi(number), text.substr(equals + 1)};
    return true;
}

bool parseArguments(const std::vector<std::string>& args, Arguments& out, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--line") {
            LineSource source;
            if (i + 1 >= args.size() || !parseLineSource(args[i + 1], source)) {
                err << "zorvant-cli simulate: после --line ожидалось ГРАФИК:N=ФАЙЛ\n";
                return false;
            }
            out.lines.push_back(std::move(source));
            ++i;
        } else if (out.script.empty() && !args[i].starts_with("--")) {
            out.script = text::fromUtf8(args[i]);
        } else {
            err << "zorvant-cli simulate: лишний аргумент «" << args[i] << "»\n";
            return false;
        }
    }
    if (out.script.empty() || out.lines.empty()) {
        err << "Использование: zorvant-cli simulate СКРИПТ.qpl --line ГРАФИК:N=ФАЙЛ [--line ...]\n";
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

void printLines(const std::vector<sim::WrittenLine>& lines, std::ostream& out) {
    for (const auto& line : lines)
        out << sim::dateText(line.moment.date) << ' ' << sim::timeText(line.moment.time) << '\t'
            << text::toUtf8(line.text) << '\n';
}

void printSummary(const sim::RunResult& result, std::ostream& err) {
    err << "Пересчётов: " << result.recalculations << ", записано строк: " << result.lines.size()
        << ", предупреждений: " << result.warnings.total() << '\n';
    for (const auto& w : result.warnings.entries())
        err << "  строка " << w.first.line << ", позиция " << w.first.column << ": " << text::toUtf8(w.text)
            << " (раз: " << w.count << ")\n";
}

class SimulateCommand : public Command {
public:
    std::string_view name() const override { return "simulate"; }
    std::string_view usage() const override {
        return "simulate СКРИПТ.qpl --line ГРАФИК:N=ФАЙЛ [--line ...]   прогнать скрипт по свечам";
    }

    int run(const std::vector<std::string>& args, Streams streams) override {
        Arguments arguments;
        if (!parseArguments(args, arguments, streams.err))
            return 2;
        try {
            return simulate(arguments, streams);
        } catch (const Error& error) {
            streams.err << text::toUtf8(error.what()) << '\n';
            return 1;
        }
    }

private:
    static int simulate(const Arguments& arguments, Streams streams) {
        const std::string scriptName = text::toUtf8(arguments.script);
        sim::Script script;
        try {
            script = sim::parseScript(platform::readFile(arguments.script));
        } catch (const sim::ScriptError& error) {
            streams.err << scriptName << ": " << text::toUtf8(error.what()) << '\n';
            return 1;
        }
        sim::CandleStore candles;
        for (const LineSource& source : arguments.lines)
            candles.loadFile(source.chart, source.number, source.file);
        candles.checkComplete();
        ProgressBar bar(streams.err);
        sim::RunOptions options;
        if (standardErrorIsTerminal())
            options.progress = [&bar](std::size_t done, std::size_t total) { bar.show(done, total); };
        const sim::RunResult result = sim::runScript(script, candles, options);
        bar.finish();
        printLines(result.lines, streams.out);
        printSummary(result, streams.err);
        if (!result.error)
            return 0;
        streams.err << scriptName << ": " << text::toUtf8(result.error->error.what()) << " (пересчёт "
                    << sim::dateText(result.error->moment.date) << ' '
                    << sim::timeText(result.error->moment.time) << ")\n";
        return 1;
    }
};

} // namespace

std::unique_ptr<Command> makeSimulateCommand() {
    return std::make_unique<SimulateCommand>();
}

} // namespace zorvant::cli
