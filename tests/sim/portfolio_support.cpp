#include "portfolio_support.h"

#include "qpl/generator.h"
#include "qpl/library.h"
#include "sim/simulation.h"
#include "text/cp1251.h"
#include "text/lines.h"

namespace zorvant::sim::testing {

ChartLine fiveMinuteLine(std::string name, const std::vector<Ohlc>& candles) {
    ChartLine line{std::move(name), Period{Period::Kind::Minutes, 5}, {}};
    int seconds = 11 * 3600;
    for (const Ohlc& c : candles) {
        line.candles.push_back({{20090302, timeOfSeconds(seconds)}, c[0], c[1], c[2], c[3], 100});
        seconds += 300;
    }
    return line;
}

ChartLine fiveMinuteCloses(std::string name, const std::vector<double>& closes) {
    std::vector<Ohlc> candles;
    double open = closes.empty() ? 0 : closes.front();
    for (const double close : closes) {
        candles.push_back({open, std::max(open, close), std::min(open, close), close});
        open = close;
    }
    return fiveMinuteLine(std::move(name), candles);
}

Script generatedScript(const conditions::ConditionList& list, bool compressed) {
    qpl::GeneratorInput input;
    input.portfelDesc = text::fromUtf8("Проверка");
    input.fileNameMessage = "C:\\Mess\\m1.txt";
    input.compressed = compressed;
    input.compMess = text::fromUtf8("Биржа зовет!");
    input.conditions = &list;
    input.library = qpl::libraryLines();
    return parseScript(text::joinCrLf(qpl::generateScript(input).lines));
}

Firing firing(const Script& script, const CandleStore& store, const ChartLine& clockLine, int from) {
    Simulation simulation(script, store);
    Firing result;
    for (std::size_t k = static_cast<std::size_t>(from); k < clockLine.candles.size(); ++k) {
        const std::size_t before = simulation.terminal().written().size();
        simulation.recalculateAt(lastSecondOf(clockLine.candles[k].start, clockLine.period));
        const auto& written = simulation.terminal().written();
        if (written.size() > before)
            result.candles.push_back(static_cast<int>(k));
        for (std::size_t i = before; i < written.size(); ++i)
            result.lines.push_back(text::toUtf8(written[i].text));
    }
    return result;
}

} // namespace zorvant::sim::testing
