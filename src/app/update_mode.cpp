#include "app/update_mode.h"

#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

void enterUpdateMode(TForm1& form) {
    form.ConditionsView.enabled = false;
    form.ConditionsView.colour = Colour::buttonFace();
    form.BitBtn1.caption = std::string("Обновить"_cp);
}

void leaveUpdateMode(TForm1& form) {
    form.ConditionsView.enabled = true;
    form.ConditionsView.colour = Colour::window();
    form.BitBtn1.caption = std::string("Добавить"_cp);
}

void leaveUpdateModeIfOrphaned(TForm1& form) {
    if (form.inUpdateMode() && form.ConditionsView.selected == nullptr)
        leaveUpdateMode(form);
}

void replaceConditionList(TForm1& form, conditions::ConditionList list) {
    form.ConditionsView.clear();
    form.ConditionsView.items = std::move(list);
    leaveUpdateModeIfOrphaned(form);
}

} // namespace zorvant::app
