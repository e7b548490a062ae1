#pragma once
// The page "Скрипт": the generated script ScriptText, an ordinary editable text, and the button that
// tries the portfolio on history.
#include "app/controls.h"

#include <QWidget>

class QPlainTextEdit;

namespace zorvant::ui {

class ScriptPage : public QWidget {
    Q_OBJECT

public:
    explicit ScriptPage(app::Memo& script, QWidget* parent = nullptr);
    void refresh();

signals:
    void historyPreviewClicked();

private:
    app::Memo& script_;
    QPlainTextEdit* ScriptText;
};

} // namespace zorvant::ui
