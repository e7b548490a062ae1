#include "app/preview_lines.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "sim/conversions.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace zorvant::app {
namespace {
namespace texts = conditions::texts;
using conditions::GetTagValue;
using conditions::Node;

std::optional<int> lineNumber(std::string_view digits) {
    int number = 0;
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

// The operands of a Condition that name a chart line: the first, and the second unless it is a level.
std::vector<const Node*> chartParts(const Node& condition) {
    std::vector<const Node*> parts;
    for (const auto& child : condition.children())
        if ((child->text == texts::kPart1 || child->text == texts::kPart2) &&
            GetTagValue(child.get(), texts::kValue).empty())
            parts.push_back(child.get());
    return parts;
}

} // namespace

std::vector<LineFile> chartLinesOf(const conditions::ConditionList& list) {
    std::vector<std::string> charts;
    std::map<std::string, int> highest;
    list.forEachInTreeOrder([&](Node& node) {
        if (!conditions::isCondition(node))
            return;
        for (const Node* part : chartParts(node)) {
            const std::string chart = GetTagValue(part, texts::kChart);
            const auto line = lineNumber(GetTagValue(part, texts::kLine));
            if (chart.empty() || !line)
                continue;
            const auto [it, added] = highest.emplace(sim::upperCaseLatin(chart), *line);
            if (added)
                charts.push_back(chart);
            it->second = std::max(it->second, *line);
        }
    });
    std::vector<LineFile> lines;
    for (const std::string& chart : charts)
        for (int line = 0; line <= highest[sim::upperCaseLatin(chart)]; ++line)
            lines.push_back({chart, line, {}});
    return lines;
}

std::string firstChartOf(const conditions::ConditionList& list) {
    const std::vector<LineFile> lines = chartLinesOf(list);
    return lines.empty() ? std::string() : lines.front().chart;
}

std::optional<LineFile> parseLineFile(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    const auto equals = text.find('=', colon);
    if (equals == std::string_view::npos || equals + 1 == text.size())
        return std::nullopt;
    const auto line = lineNumber(text.substr(colon + 1, equals - colon - 1));
    if (!line)
        return std::nullopt;
    return LineFile{std::string(text.substr(0, colon)), *line, std::string(text.substr(equals + 1))};
}

std::string formatLineFile(const LineFile& choice) {
    return choice.chart + ":" + std::to_string(choice.line) + "=" + choice.file;
}

bool sameChartLine(const LineFile& a, const LineFile& b) {
    return a.line == b.line && sim::upperCaseLatin(a.chart) == sim::upperCaseLatin(b.chart);
}

void rememberLineFile(std::vector<LineFile>& memory, const LineFile& choice) {
    std::erase_if(memory, [&](const LineFile& kept) { return sameChartLine(kept, choice); });
    memory.push_back(choice);
}

} // namespace zorvant::app
