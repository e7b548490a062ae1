#include "qpl/generator.h"

#include "conditions/labels.h"
#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "qpl/combination_line.h"
#include "qpl/condition_code.h"
#include "qpl/line_groups.h"
#include "qpl/message_period.h"
#include "qpl/period_code.h"
#include "qpl/script_checks.h"
#include "qpl/script_frame.h"

#include <algorithm>

namespace zorvant::qpl {
namespace {
namespace texts = conditions::texts;
using conditions::GetTagValue;
using conditions::Node;

// A level is stored with the user's decimal separator; QPL reads only a point.
std::string qplNumber(std::string value) {
    std::replace(value.begin(), value.end(), ',', '.');
    return value;
}

// The state of one walk over the condition list.
class ListWalk {
public:
    ListWalk(const GeneratorInput& input, GeneratedScript& script)
        : input_(input), script_(script), selection_(input.previousMessageChart) {}

    void visit(const Node& node) {
        if (conditions::isCondition(node))
            condition(node);
        else if (conditions::isOperation(node))
            combination_.addOperation(GetTagValue(&node, texts::kType));
    }

    int conditionCount() const { return count_; }
    const CombinationLine& combination() const { return combination_; }
    const MessagePeriodSelection& selection() const { return selection_; }

private:
    void condition(const Node& node) {
        const int number = ++count_;
        const std::string c = std::to_string(number);
        for (std::size_t i = 0; i < node.childCount(); ++i) {
            const Node& child = *node.child(i);
            const Node* next = i + 1 < node.childCount() ? node.child(i + 1) : nullptr;
            if (child.text == texts::kPart1) {
                firstOperand(child, c);
            } else if (child.text.find(texts::kActionOpen) != std::string::npos) {
                if (next != nullptr && next->text == texts::kPart2)
                    secondOperand(*next, c);
                ConditionCode(child, next, number,
                              input_.compressed ? MessageMode::Compressed : MessageMode::Expanded, script_);
            }
        }
        combination_.addCondition(number);
    }

    static std::string prevTimeFlag(const Node& part) {
        return GetTagValue(&part, texts::kTime) == conditions::labels::kCurrentValue ? "0" : "1";
    }

    void firstOperand(const Node& part, const std::string& c) {
        const std::string chart = GetTagValue(&part, texts::kChart);
        const std::string period = PeriodCodeOf(GetTagValue(&part, texts::kInterval));
        const std::string line = GetTagValue(&part, texts::kLine);
        report(lineProblem(count_, line));
        auto& lines = script_.lines;
        lines.push_back("is_prevtime" + c + "1=" + prevTimeFlag(part));
        lines.push_back("num_line" + c + "1=" + line);
        lines.push_back("name_shedule" + c + "1=\"" + chart + "\"");
        lines.push_back("sPeriod" + c + "1=\"" + period + "\"");
        lines.push_back("condition" + c + "=0");
        lines.emplace_back(kSeparator);
        selection_.offer(period, chart);
    }

    // Only the fields the part holds: a value level has no time, line or chart.
    void secondOperand(const Node& part, const std::string& c) {
        const std::string chart = GetTagValue(&part, texts::kChart);
        const std::string period = PeriodCodeOf(GetTagValue(&part, texts::kInterval));
        const std::string line = GetTagValue(&part, texts::kLine);
        const std::string value = GetTagValue(&part, texts::kValue);
        if (!line.empty())
            report(lineProblem(count_, line));
        if (!value.empty())
            report(levelProblem(count_, value));
        auto& lines = script_.lines;
        if (!GetTagValue(&part, texts::kTime).empty())
            lines.push_back("is_prevtime" + c + "2=" + prevTimeFlag(part));
        if (!line.empty())
            lines.push_back("num_line" + c + "2=" + line);
        if (!chart.empty())
            lines.push_back("name_shedule" + c + "2=\"" + chart + "\"");
        if (!value.empty())
            lines.push_back("value" + c + "2=" + qplNumber(value));
        lines.push_back("sPeriod" + c + "2=\"" + period + "\"");
        lines.emplace_back(kSeparator);
        selection_.offer(period, chart);
    }

    void report(std::optional<std::string> problem) {
        if (problem)
            script_.messages.push_back(std::move(*problem));
    }

    const GeneratorInput& input_;
    GeneratedScript& script_;
    MessagePeriodSelection selection_;
    CombinationLine combination_;
    int count_ = 0;
};

} // namespace

GeneratedScript generateScript(const GeneratorInput& input) {
    GeneratedScript script;
    if (auto refusal = refusalOf(input)) {
        script.refused = true;
        script.messages.push_back(std::move(*refusal));
        return script;
    }
    auto& lines = script.lines;
    appendHead(input, lines);
    lines.insert(lines.end(), input.library.begin(), input.library.end());
    lines.emplace_back(kSeparator);
    appendSettingsLines(input, lines);

    ListWalk walk(input, script);
    if (input.conditions != nullptr)
        input.conditions->forEachInTreeOrder([&](Node& node) { walk.visit(node); });
    for (const auto& [before, after] : walk.combination().unjoined())
        script.messages.push_back(missingJoinerWarning(before, after));
    if (!walk.combination().bracketsBalanced())
        script.messages.emplace_back(kBracketError);
    if (walk.selection().period() == "0")
        script.messages.emplace_back(kNoIntervalWarning);

    appendMessageLines(input, walk.conditionCount(), walk.combination().text(), lines);
    script.messagePeriod = walk.selection().period();
    script.messageChart = walk.selection().chart();
    appendOncePerCandleWrite(script.messagePeriod, script.messageChart, lines);
    appendTail(lines);
    return script;
}

} // namespace zorvant::qpl
