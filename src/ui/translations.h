#pragma once
// Qt's own Russian texts for the standard dialogs (message box buttons, file and folder dialogs, the
// context menus of text fields), carried inside the program as a resource so that every build has them.
class QCoreApplication;

namespace zorvant::ui {

// False when the resource holds no usable translation; the dialogs then speak English.
bool installQtTranslations(QCoreApplication& application);

} // namespace zorvant::ui
