#include "app/preview_explanation.h"

#include "app/condition_text.h"
#include "conditions/node_texts.h"
#include "conditions/summary.h"
#include "conditions/tags.h"
#include "sim/conversions.h"
#include "sim/simulation.h"
#include "text/cp1251.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvant::app {
using namespace text::literals;
namespace texts = conditions::texts;
using conditions::Node;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::vector<ProbedValue> firstOperandValues(const Node* part, const std::string& c) {
    const std::string name = part != nullptr ? operandName(*part) : std::string();
    return {
        {name, "close_shedule_" + c + "1_1"},
        {name + " OPEN", "open_shedule_" + c + "1_1"},
        {name + " HIGH", "high_shedule_" + c + "1_1"},
        {name + " LOW", "low_shedule_" + c + "1_1"},
        {name + std::string(" пред."_cp), "close_shedule_" + c + "1_2"},
        {name + std::string(" ранее"_cp), "close_shedule_" + c + "1_3"},
    };
}

std::vector<ProbedValue> secondOperandValues(const Node* part, const std::string& c) {
    if (part == nullptr)
        return {};
    if (isValueLevel(*part))
        return {{std::string("уровень"_cp), "value" + c + "2"}};
    const std::string name = operandName(*part);
    return {{name, "close_shedule_" + c + "2_1"},
            {name + std::string(" пред."_cp), "close_shedule_" + c + "2_2"}};
}

double numberOf(const sim::Value* value) {
    if (value == nullptr)
        return kNone;
    if (value->isNumber())
        return value->number();
    if (value->isText())
        return sim::parseQplNumber(value->text()).value_or(kNone);
    return kNone;
}

std::string conditionFlag(int number) {
    return "condition" + std::to_string(number);
}

} // namespace

std::vector<ConditionProbe> conditionProbes(const conditions::ConditionList& list) {
    std::vector<ConditionProbe> probes;
    list.forEachInTreeOrder([&](Node& node) {
        if (!conditions::isCondition(node))
            return;
        const int number = static_cast<int>(probes.size()) + 1;
        const std::string c = std::to_string(number);
        ConditionProbe probe{number, conditions::conditionSummary(node),
                             firstOperandValues(partOf(node, texts::kPart1), c)};
        for (ProbedValue& value : secondOperandValues(partOf(node, texts::kPart2), c))
            probe.values.push_back(std::move(value));
        probes.push_back(std::move(probe));
    });
    return probes;
}

void keepNamedVariables(std::vector<ConditionProbe>& probes, const sim::Script& script) {
    for (ConditionProbe& probe : probes)
        std::erase_if(probe.values, [&](const ProbedValue& value) {
            return std::find(script.globals.begin(), script.globals.end(),
                             sim::upperCaseLatin(value.variable)) == script.globals.end();
        });
}

MomentValues readMoment(const std::vector<ConditionProbe>& probes, const sim::Simulation& simulation) {
    MomentValues values;
    for (const ConditionProbe& probe : probes) {
        values.push_back(numberOf(simulation.variable(conditionFlag(probe.number))));
        for (const ProbedValue& value : probe.values)
            values.push_back(numberOf(simulation.variable(value.variable)));
    }
    return values;
}

std::vector<ConditionExplanation> explainMoment(const std::vector<ConditionProbe>& probes,
                                                const MomentValues& values) {
    std::vector<ConditionExplanation> explanations;
    std::size_t next = 0;
    const auto take = [&] { return next < values.size() ? values[next++] : kNone; };
    for (const ConditionProbe& probe : probes) {
        ConditionExplanation explanation{probe.number, probe.text, take() == 1, {}};
        for (const ProbedValue& value : probe.values) {
            const double number = take();
            explanation.values.emplace_back(value.label, std::isnan(number) ? std::string("—"_cp)
                                                                            : sim::numberToText(number));
        }
        explanations.push_back(std::move(explanation));
    }
    return explanations;
}

std::string heldText(bool held) {
    return std::string(held ? "выполнено"_cp : "не выполнено"_cp);
}

std::string valuesText(const ConditionExplanation& explanation) {
    std::string out;
    for (const auto& [label, value] : explanation.values) {
        if (!out.empty())
            out += ", ";
        out += label + " = " + value;
    }
    return out;
}

std::string explanationLine(const ConditionExplanation& explanation) {
    std::string line =
        std::to_string(explanation.number) + ". " + explanation.text + ": " + heldText(explanation.held);
    if (!explanation.values.empty())
        line += "; " + valuesText(explanation);
    return line;
}

} // namespace zorvant::app
