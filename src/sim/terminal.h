#pragma once
// What a script sees of the terminal during a run: the candles, the server clock, and where its
// WRITELN lines, messages and output-table rows go (captured, never written to the host's files).
#include "sim/calendar.h"
#include "sim/candle_store.h"
#include "sim/value.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::sim {

struct WrittenLine {
    Moment moment;
    std::string file;
    std::string text;
};

struct TerminalMessage {
    Moment moment;
    std::string text;
};

class Terminal {
public:
    explicit Terminal(const CandleStore& candles) : candles_(candles) {}

    const CandleStore& candles() const { return candles_; }
    const Moment& now() const { return now_; }
    void setNow(const Moment& moment) { now_ = moment; }

    // The chart of that identifier, or nullptr (CandleStore::find, remembered for the next request).
    const Chart* chart(std::string_view chartId);
    // The GET_CANDLE_EX map of chart at moment: only candles started by now are seen.
    MapPtr candleSlice(std::string_view chartId, const Moment& moment) {
        if (onCandleRequest)
            onCandleRequest(chartId, moment);
        return findSlice(chartId, moment);
    }
    // The same map without telling onCandleRequest, for a caller that may yet decline the request.
    MapPtr findSlice(std::string_view chartId, const Moment& moment);

    void write(std::string_view file, std::string_view text, bool endLine);
    void clearFile(std::string_view file);
    void message(std::string_view text) { messages_.push_back({now_, std::string(text)}); }

    std::vector<WrittenLine>& written() { return written_; }
    const std::vector<TerminalMessage>& messages() const { return messages_; }
    // The script's own output table; row 1 is rows()[0].
    std::vector<MapPtr>& rows() { return rows_; }

    // Called for every GET_CANDLE_EX request, before rounding, for tests that follow a search.
    std::function<void(std::string_view chart, const Moment& moment)> onCandleRequest;

private:
    struct CachedSlice {
        const Chart* chart = nullptr;
        long long key = -1;
        MapPtr map;
    };

    struct Located {
        const Chart* chart = nullptr;
        Moment moment;
        int index = -1;
    };

    // lineZero: line 0's candle for the moment, as candleIndex found it.
    MapPtr buildSlice(const Chart& chart, const Moment& moment, int lineZero);
    int candleIndex(const Chart& chart, const Moment& moment);

    const CandleStore& candles_;
    Moment now_;
    std::vector<WrittenLine> written_;
    std::vector<std::pair<std::string, std::string>> pending_;
    std::vector<TerminalMessage> messages_;
    std::vector<MapPtr> rows_;
    std::array<CachedSlice, 16> cache_;
    MapPtr emptySlice_;
    // Line 0's candle for moments asked for before: the same few moments are asked for again and again.
    std::array<Located, 64> located_;
    Located lastLocated_;
    std::string lastChartId_;
    const Chart* lastChart_ = nullptr;
};

} // namespace zorvant::sim
