#include "sim/candle_file.h"

#include "sim/conversions.h"
#include "sim/join.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <charconv>

namespace zorvant::sim {
namespace {

using namespace text::literals;

std::vector<std::string_view> fields(std::string_view line, char separator) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        std::string_view f =
            line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        while (!f.empty() && (f.front() == ' ' || f.front() == '\t'))
            f.remove_prefix(1);
        while (!f.empty() && (f.back() == ' ' || f.back() == '\t' || f.back() == '\r'))
            f.remove_suffix(1);
        out.push_back(f);
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

class CandleFileReader {
public:
    explicit CandleFileReader(std::string_view fileName) : fileName_(fileName) {}

    ChartLine run(std::string_view bytes) {
        const auto lines = text::splitConditionLines(bytes);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lineNumber_ = i + 1;
            const std::string_view line = lines[i];
            if (line.find_first_not_of(" \t\r") == std::string_view::npos)
                continue;
            if (i == 0 && isHeader(line))
                continue;
            add(line);
        }
        if (result_.candles.empty())
            throw Error(cat(fileName_, ": в файле нет свечей"_cp));
        return std::move(result_);
    }

private:
    [[noreturn]] void fail(std::string_view reason) const {
        throw Error(cat(fileName_, ": строка "_cp, std::to_string(lineNumber_), ": "_cp, reason));
    }

    static bool isHeader(std::string_view line) {
        return line.find('<') != std::string_view::npos || line.find("TICKER") != std::string_view::npos;
    }

    void add(std::string_view line) {
        const char separator = line.find(';') != std::string_view::npos ? ';' : ',';
        const auto f = fields(line, separator);
        if (f.size() != 9)
            fail("ожидалось 9 полей: <TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"_cp);
        Candle candle = candleOf(f, separator);
        checkOrder(f[0], f[1], candle);
        result_.candles.push_back(candle);
    }

    Candle candleOf(const std::vector<std::string_view>& f, char separator) const {
        Candle c;
        const auto date = wholeNumber(f[2]);
        if (!date || !isValidDate(*date))
            fail("неверная дата (ожидалось YYYYMMDD)"_cp);
        const auto time = wholeNumber(f[3]);
        if (!time || !isValidTime(*time))
            fail("неверное время (ожидалось HHMMSS)"_cp);
        c.start = {*date, *time};
        double* values[] = {&c.open, &c.high, &c.low, &c.close, &c.volume};
        for (int i = 0; i < 5; ++i)
            *values[i] = price(f[4 + i], separator);
        if (c.low > c.high || c.open < c.low || c.open > c.high || c.close < c.low || c.close > c.high)
            fail("цены свечи противоречат друг другу (нужно LOW <= OPEN, CLOSE <= HIGH)"_cp);
        return c;
    }

    double price(std::string_view text, char separator) const {
        std::string copy(text);
        if (separator == ';')
            for (char& ch : copy)
                if (ch == ',')
                    ch = '.';
        const auto value = parseQplNumber(copy);
        if (!value)
            fail(cat("не число: "_cp, text));
        return *value;
    }

    void checkOrder(std::string_view ticker, std::string_view perText, Candle& candle) {
        const auto period = parsePeriod(perText);
        if (!period)
            fail("неверный интервал <PER>: ожидалось число минут, D, W или M"_cp);
        if (result_.candles.empty()) {
            result_.name = std::string(ticker);
            result_.period = *period;
        } else if (!(result_.period == *period)) {
            fail("интервал <PER> не тот, что в первых строках"_cp);
        } else if (ticker != result_.name) {
            fail("тикер не тот, что в первых строках"_cp);
        }
        if (period->kind != Period::Kind::Minutes)
            candle.start.time = 0;
        else if ((candle.start.time / 10000 * 60 + candle.start.time / 100 % 100) % period->minutes != 0 ||
                 candle.start.time % 100 != 0)
            fail("время свечи не на границе интервала"_cp);
        if (!result_.candles.empty() && candle.start.key() <= result_.candles.back().start.key())
            fail("свечи должны идти по возрастанию времени"_cp);
    }

    std::string fileName_;
    std::size_t lineNumber_ = 0;
    ChartLine result_;
};

} // namespace

ChartLine parseCandleFile(std::string_view bytes, std::string_view fileName) {
    return CandleFileReader(fileName).run(bytes);
}

} // namespace zorvant::sim
