#include "app/editor_form.h"

#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::testing {

void EditorForm::chooseAction(std::string_view action) {
    f.action1.text = text::fromUtf8(action);
    f.action1Change();
}

void EditorForm::addNamed(std::string_view action, std::string_view joiner) {
    f.action1.text = text::fromUtf8(action);
    f.Notebook.visible = false;
    f.LogOp.text = text::fromUtf8(joiner);
    f.BitBtn1Click();
}

bool EditorForm::updateModeShown() const {
    const bool update = !f.ConditionsView.enabled;
    EXPECT_EQ(f.ConditionsView.colour, update ? app::Colour::buttonFace() : app::Colour::window());
    EXPECT_EQ(f.BitBtn1.caption, text::fromUtf8(update ? "Обновить" : "Добавить"));
    return update;
}

} // namespace zorvant::testing
