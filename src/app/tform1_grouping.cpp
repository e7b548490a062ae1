#include "app/tform1.h"
#include "app/update_mode.h"
#include "conditions/grouping.h"
#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;
using conditions::GroupOutcome;

namespace {

void showRefusal(Dialogs& dialogs, GroupOutcome outcome) {
    if (outcome == GroupOutcome::OneSelected)
        dialogs.showMessage("Условий должно быть несколько."_cp);
    else if (outcome == GroupOutcome::NotConditions)
        dialogs.showMessage("Группировать можно только условия"_cp);
    else if (outcome == GroupOutcome::NotAGroup)
        dialogs.showMessage("Этот набо условий не может быть разгруппирован."_cp);
}

} // namespace

void TForm1::N27Click() {
    if (ConditionsView.selected == nullptr)
        return;
    const auto result = conditions::group(ConditionsView.items, ConditionsView.selection);
    showRefusal(env_.dialogs, result.outcome);
    // A pending change keeps its Condition selected.
    if (result.closing != nullptr && !inUpdateMode())
        ConditionsView.select(result.closing);
}

void TForm1::N28Click() {
    if (ConditionsView.selected == nullptr)
        return;
    const auto outcome = conditions::ungroup(ConditionsView.items, ConditionsView.selection,
                                             [this](conditions::Node& node) { ConditionsView.remove(node); });
    showRefusal(env_.dialogs, outcome);
    leaveUpdateModeIfOrphaned(*this);
}

} // namespace zorvant::app
