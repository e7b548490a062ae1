#pragma once
// The clock of a run: one recalculation at the last second of every candle of the chart with the
// shortest interval, from its first candle to its last.
#include "sim/machine.h"
#include "sim/script.h"
#include "sim/terminal.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace zorvant::sim {

// The moments of the recalculations, in time order: the candles of every line of the charts with the
// shortest interval taken together.
std::vector<Moment> recalculationMoments(const CandleStore& candles);

// A script and its terminal, recalculated at moments the caller chooses.
class Simulation {
public:
    // The script and the candles must outlive the simulation.
    Simulation(const Script& script, const CandleStore& candles, Limits limits = {});
    Simulation(Script&&, const CandleStore&, Limits = {}) = delete;
    Simulation(const Script&, CandleStore&&, Limits = {}) = delete;

    // Throws ScriptError on a fault of the script.
    void recalculateAt(const Moment& moment);

    Machine& machine() { return machine_; }
    Terminal& terminal() { return terminal_; }
    // A script variable's value after the last recalculation, by name (any case); nullptr when unset.
    const Value* variable(std::string_view name) const { return machine_.global(name); }

private:
    Terminal terminal_;
    Machine machine_;
};

struct RunOptions {
    Limits limits;
    // Called now and then with the number of recalculations done and their total.
    std::function<void(std::size_t done, std::size_t total)> progress;
    // Asked before every recalculation; true stops the run there.
    std::function<bool()> cancelled;
    // Called after a recalculation that wrote lines, with how many it wrote, while the script's
    // variables still hold that recalculation's values.
    std::function<void(const Simulation& simulation, std::size_t written)> linesWritten;
};

struct RunError {
    Moment moment;
    ScriptError error;
};

struct RunResult {
    std::vector<WrittenLine> lines;
    std::vector<TerminalMessage> messages;
    Warnings warnings;
    std::size_t recalculations = 0;
    // The run stops at the first fault of the script; what it wrote before stays.
    std::optional<RunError> error;
    bool cancelled = false;
};

RunResult runScript(const Script& script, const CandleStore& candles, const RunOptions& options = {});

} // namespace zorvant::sim
