#pragma once
// The page "Скрипт": the generated script ScriptText, an ordinary editable text.
#include "app/controls.h"

#include <QWidget>

class QPlainTextEdit;

namespace zorvant::ui {

class ScriptPage : public QWidget {
    Q_OBJECT

public:
    explicit ScriptPage(app::Memo& script, QWidget* parent = nullptr);
    void refresh();

private:
    app::Memo& script_;
    QPlainTextEdit* ScriptText;
};

} // namespace zorvant::ui
