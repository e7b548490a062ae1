#pragma once
// The main window after start-up in a fresh program folder, with helpers that act as a user would.
#include "app/tform1.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

#include <string_view>

namespace zorvant::testing {

struct EditorForm {
    EditorForm() : forms(folder.folderName()), f(forms.form1) { f.FormActivate(); }

    // Types an action (UTF-8) into action1, as the combo's change event reports it.
    void chooseAction(std::string_view action);
    // Chooses the joiner (UTF-8) and presses "Добавить" for a one-operand Condition named by its action.
    void addNamed(std::string_view action, std::string_view joiner = "ИЛИ");
    // Selects the node, as a click on its row does.
    void click(conditions::Node& node) { f.ConditionsView.select(&node); }
    bool updateModeShown() const;

    TempFolder folder;
    Forms forms;
    app::TForm1& f;
};

} // namespace zorvant::testing
