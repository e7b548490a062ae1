#pragma once
// Update mode is the disabled state of ConditionsView: the selected Condition waits to be written back.
#include "app/tform1.h"

namespace zorvant::app {

void enterUpdateMode(TForm1& form);
void leaveUpdateMode(TForm1& form);
// Leaves update mode when the Condition it waits on is gone, so that a write-back never aims at a
// deleted node.
void leaveUpdateModeIfOrphaned(TForm1& form);
// Replaces the whole list; a pending change ends with the list it belonged to.
void replaceConditionList(TForm1& form, conditions::ConditionList list);

} // namespace zorvant::app
