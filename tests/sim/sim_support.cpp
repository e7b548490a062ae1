#include "sim_support.h"

#include "text/cp1251.h"
#include "text/lines.h"

namespace zorvant::sim::testing {

std::string portfolio(std::string_view utf8Body, std::string_view utf8HeaderExtra) {
    std::string text = "PORTFOLIO_EX Test;\nDESCRIPTION Проверка;\n";
    text += utf8HeaderExtra;
    text += "PROGRAM\n";
    text += utf8Body;
    text += "\nEND_PROGRAM\nPARAMETER sTime;\nPARAMETER_TITLE Время;\nPARAMETER_DESCRIPTION Время;\n"
            "PARAMETER_TYPE STRING(20);\nEND\nEND_PORTFOLIO_EX\n";
    return text::joinCrLf(text::splitConditionLines(text::fromUtf8(text)));
}

Script parseBody(std::string_view utf8Body, std::string_view utf8HeaderExtra) {
    return parseScript(portfolio(utf8Body, utf8HeaderExtra));
}

Candle candle(int date, int time, double open, double high, double low, double close) {
    return {{date, time}, open, high, low, close, 100};
}

ChartLine series(std::string name, Period period, int date, int time, const std::vector<double>& closes) {
    ChartLine line{std::move(name), period, {}};
    int seconds = secondsOfDay(time);
    long long day = dayNumber(date);
    double open = closes.empty() ? 0 : closes.front();
    for (const double close : closes) {
        const Moment start = period.kind == Period::Kind::Minutes
                                 ? Moment{dateOfDay(day), timeOfSeconds(seconds)}
                                 : Moment{dateOfDay(day), 0};
        line.candles.push_back({start, open, std::max(open, close), std::min(open, close), close, 100});
        open = close;
        if (period.kind == Period::Kind::Minutes) {
            seconds += period.minutes * 60;
            day += seconds / 86400;
            seconds %= 86400;
        } else {
            day += period.kind == Period::Kind::Day ? 1 : 7;
        }
    }
    return line;
}

Outcome runOnce(std::string_view utf8Body, const CandleStore& store, Moment now) {
    const Script script = parseBody(utf8Body);
    Simulation simulation(script, store);
    simulation.recalculateAt(now);
    Outcome outcome;
    for (const auto& line : simulation.terminal().written())
        outcome.lines.push_back(text::toUtf8(line.text));
    outcome.warnings = simulation.machine().warnings();
    return outcome;
}

std::vector<std::string> runAll(const Script& script, const CandleStore& store) {
    const RunResult result = runScript(script, store);
    if (result.error)
        throw result.error->error;
    std::vector<std::string> lines;
    for (const auto& line : result.lines)
        lines.push_back(timeText(line.moment.time) + " " + text::toUtf8(line.text));
    return lines;
}

} // namespace zorvant::sim::testing
