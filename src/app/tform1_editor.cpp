#include "app/tform1.h"
#include "app/update_mode.h"
#include "conditions/deletion.h"
#include "conditions/edit_loading.h"
#include "conditions/editor.h"
#include "conditions/labels.h"
#include "conditions/tags.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/number_format.h"

#include <algorithm>
#include <optional>

namespace zorvant::app {
using namespace text::literals;
using conditions::Node;

namespace {

conditions::ChartOperand chartOf(const ComboBox& time, const SpinEdit& line, const Edit& chart,
                                 const ComboBox& period) {
    return {time.text, line.value, chart.text, period.text};
}

// Nothing when the value page is on show and its level is no number.
std::optional<conditions::ConditionValues> editorValues(const TForm1& f, char decimalSeparator) {
    using conditions::SecondOperand;
    const SecondOperand operand = !f.Notebook.visible         ? SecondOperand::None
                                  : f.Notebook.pageIndex == 0 ? SecondOperand::Chart
                                                              : SecondOperand::Value;
    double level = 0;
    if (operand == SecondOperand::Value) {
        try {
            level = text::parseEitherSeparator(f.level2.text, decimalSeparator);
        } catch (const Error&) {
            return std::nullopt;
        }
    }
    return conditions::ConditionValues{chartOf(f.Time1, f.Line_1, f.schedule1, f.period1), f.action1.text,
                                       operand, chartOf(f.Time2, f.Line_2, f.schedule2, f.period2), level};
}

// The text shown in an editable combo; the list selection follows when the text is one of its items.
void showText(ComboBox& combo, const std::string& text) {
    const auto it = std::find(combo.items.begin(), combo.items.end(), text);
    combo.itemIndex = it == combo.items.end() ? -1 : static_cast<int>(it - combo.items.begin());
    combo.text = text;
}

void showLine(SpinEdit& spin, double value) {
    spin.value = static_cast<int>(text::roundHalfEven(std::clamp<double>(value, spin.minimum, spin.maximum)));
}

void showCondition(TForm1& f, const conditions::ConditionForEdit& loaded) {
    if (const auto& part = loaded.part1) {
        showText(f.Time1, part->time);
        showLine(f.Line_1, part->line);
        f.schedule1.text = part->chart;
        showText(f.period1, part->interval);
    }
    if (loaded.action)
        showText(f.action1, *loaded.action);
    if (const auto& part = loaded.part2) {
        showText(f.Time2, part->time);
        if (part->line)
            showLine(f.Line_2, *part->line);
        f.schedule2.text = part->chart;
        showText(f.period2, part->interval);
        if (part->level)
            f.level2.text = text::formatGeneral(*part->level, f.environment().decimalSeparator);
        f.Notebook.pageIndex = f.TabSet1.tabIndex = part->level ? 1 : 0;
    }
}

} // namespace

void TForm1::BitBtn1Click() {
    const auto joiner = conditions::joinerOf(LogOp.text);
    if (!joiner) {
        env_.dialogs.showMessage("Объединение условий может быть только «И» или «ИЛИ»!"_cp);
        return;
    }
    const auto values = editorValues(*this, env_.decimalSeparator);
    if (!values) {
        env_.dialogs.showMessage(std::string("Уровень «"_cp) + level2.text +
                                 std::string("» не является числом!"_cp));
        return;
    }
    showText(LogOp, std::string(*joiner));
    auto& list = ConditionsView.items;
    Node* edited = inUpdateMode() ? ConditionsView.selected : nullptr;
    if (edited != nullptr && conditions::isCondition(*edited))
        conditions::writeBackCondition(list, *edited, *values, *joiner, env_.decimalSeparator);
    else
        conditions::addCondition(list, *values, *joiner, env_.decimalSeparator);
    leaveUpdateMode(*this);
}

void TForm1::BitBtn3Click() {
    if (ConditionsView.selected == nullptr)
        return;
    Node& top = conditions::ConditionList::topLevelAncestor(*ConditionsView.selected);
    if (!conditions::isCondition(top)) {
        env_.dialogs.showMessage("Изменено может быть только условие!"_cp);
    } else {
        // Read completely first: a stored number this locale cannot read leaves the editor untouched.
        const auto loaded = conditions::readForEdit(top, env_.decimalSeparator);
        ConditionsView.select(&top);
        enterUpdateMode(*this);
        showCondition(*this, loaded);
        ActiveControl = "Time1";
    }
    action1Change();
}

void TForm1::N6Click() {
    if (ConditionsView.selected == nullptr)
        return;
    const auto outcome = conditions::deleteCondition(ConditionsView.items, *ConditionsView.selected,
                                                     [this](Node& node) { ConditionsView.remove(node); });
    if (outcome == conditions::DeleteOutcome::NotACondition)
        env_.dialogs.showMessage("Удалить можно только условие!"_cp);
    else if (outcome == conditions::DeleteOutcome::InGroup)
        env_.dialogs.showMessage(
            "Нельзя удалить условие, участвующее в группировке. Разгруппируйте условие."_cp);
    leaveUpdateModeIfOrphaned(*this);
}

void TForm1::action1Change() {
    const bool twoOperands = !conditions::labels::isOneOperandAction(action1.text);
    Notebook.visible = TabSet1.visible = twoOperands;
}

void TForm1::TabSet1Change(int newTab) {
    TabSet1.tabIndex = newTab;
    Notebook.pageIndex = newTab == 0 ? 0 : 1;
}

void TForm1::Line_1Change() {
    Line_1.value = std::max(Line_1.value, 0);
}

void TForm1::Line_2Change() {
    Line_2.value = std::max(Line_2.value, 0);
}

} // namespace zorvant::app
