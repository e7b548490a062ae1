#pragma once
// Why the portfolio wrote its line at a moment: every Condition with its number, its text, whether it
// held and the values its test read, taken from the generated script's own variables right after that
// recalculation. zorvant-cli simulate --explain prints it and the preview window shows it. Texts are
// Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <utility>
#include <vector>

namespace zorvant::sim {
class Simulation;
struct Script;
} // namespace zorvant::sim

namespace zorvant::app {

struct ProbedValue {
    std::string label;
    std::string variable;
};

// What to read for one Condition: condition{N}, and the values of its operands.
struct ConditionProbe {
    int number = 0;
    std::string text;
    std::vector<ProbedValue> values;
};

// Conditions numbered as the generator numbers them: in tree order, from 1. Every value an action may
// read is listed; keepNamedVariables then drops those the script never names.
std::vector<ConditionProbe> conditionProbes(const conditions::ConditionList& list);
void keepNamedVariables(std::vector<ConditionProbe>& probes, const sim::Script& script);

// What one recalculation left: for each probe its condition{N}, then its values, in order. NaN stands
// for an unset variable or one that holds no number. Kept per written line, so numbers, not texts.
using MomentValues = std::vector<double>;
MomentValues readMoment(const std::vector<ConditionProbe>& probes, const sim::Simulation& simulation);

struct ConditionExplanation {
    int number = 0;
    std::string text;
    bool held = false;
    // Label and value, the value written as the script writes numbers; "—" for none.
    std::vector<std::pair<std::string, std::string>> values;
};

std::vector<ConditionExplanation> explainMoment(const std::vector<ConditionProbe>& probes,
                                                const MomentValues& values);

// "выполнено" or "не выполнено".
std::string heldText(bool held);
// "PRICE[0] = 251.2, уровень = 250".
std::string valuesText(const ConditionExplanation& explanation);
// "2. PRICE[0] 1 ЧАС БОЛЬШЕ 250: выполнено; PRICE[0] = 251.2, уровень = 250".
std::string explanationLine(const ConditionExplanation& explanation);

} // namespace zorvant::app
