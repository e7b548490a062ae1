// The QPL simulator's reader and machine, and the candle file reader.
#include "entries.h"

#include "sim/candle_file.h"
#include "sim/simulation.h"
#include "text/error.h"

namespace zorvant::fuzz {

namespace {

// Two lines of five-minute candles on the chart the generator names by default.
const sim::CandleStore& smallStore() {
    static const sim::CandleStore store = [] {
        sim::CandleStore s;
        for (int line = 0; line < 2; ++line) {
            sim::ChartLine chartLine{"L" + std::to_string(line), {sim::Period::Kind::Minutes, 5}, {}};
            for (int i = 0; i < 4; ++i) {
                const double price = 100 + i * (line == 0 ? 1 : -1);
                chartLine.candles.push_back(
                    {{20261207, 100000 + i * 500}, price, price + 2, price - 2, price, 10});
            }
            s.addLine("PRICE", line, std::move(chartLine));
        }
        return s;
    }();
    return store;
}

// One recalculation as anyone sees it from outside: lines, warnings, statements counted, the fault.
struct Outcome {
    bool failed = false;
    std::string seen;
};

Outcome recalculate(sim::Simulation& simulation, const sim::Moment& moment) {
    Outcome outcome;
    try {
        simulation.recalculateAt(moment);
    } catch (const Error& error) {
        outcome.failed = true;
        outcome.seen = error.what();
    }
    outcome.seen += "|" + std::to_string(simulation.machine().steps());
    for (const auto& line : simulation.terminal().written())
        outcome.seen += "|" + line.text;
    for (const auto& warning : simulation.machine().warnings().entries())
        outcome.seen += "|" + warning.text + std::to_string(warning.count);
    return outcome;
}

} // namespace

// The script runs twice side by side: with the helper library's FUNCs run natively, where the script
// holds them unchanged, and as written. Both must be seen alike.
void qplSimulator(std::string_view bytes) {
    sim::Script script;
    try {
        script = sim::parseScript(bytes);
    } catch (const Error&) {
        return;
    }
    // Small bounds keep every input quick; a script that reaches them stops with an error.
    const sim::Limits limits{100'000, 64, 100'000, 100'000};
    sim::Simulation simulation(script, smallStore(), limits);
    sim::Simulation asWritten(script, smallStore(), limits);
    asWritten.machine().useNativeLibrary(false);
    for (const auto& moment : sim::recalculationMoments(smallStore())) {
        const Outcome outcome = recalculate(simulation, moment);
        check(outcome.seen == recalculate(asWritten, moment).seen,
              "the native library and its text disagree");
        if (outcome.failed)
            return;
    }
    keep(simulation.terminal().written().size() + simulation.terminal().messages().size());
}

void candleReader(std::string_view bytes) {
    sim::ChartLine line;
    try {
        line = sim::parseCandleFile(bytes, "c.txt");
    } catch (const Error&) {
        return;
    }
    check(!line.candles.empty(), "a candle file without candles was accepted");
    long long previous = -1;
    for (const auto& candle : line.candles) {
        check(sim::isValidDate(candle.start.date) && sim::isValidTime(candle.start.time),
              "a candle starts at a date or time that does not exist");
        check(candle.start.key() > previous, "candles out of time order or with the same start");
        previous = candle.start.key();
    }
    sim::CandleStore store;
    store.addLine("C", 0, std::move(line));
    for (const auto& moment : sim::recalculationMoments(store))
        check(sim::isValidDate(moment.date) && sim::isValidTime(moment.time),
              "a recalculation at a moment that does not exist");
}

} // namespace zorvant::fuzz
