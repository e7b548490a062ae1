#pragma once
// The page "Журнал": the alert log, newest first, one row per action carried out or failed.
#include "app/controls.h"

#include <QWidget>

class QTableWidget;

namespace zorvant::ui {

class JournalPage : public QWidget {
    Q_OBJECT

public:
    explicit JournalPage(const app::TextTable& journal, QWidget* parent = nullptr);
    void refresh();

private:
    const app::TextTable& journal_;
    QTableWidget* JournalTable;
    int shownVersion_ = -1;
};

} // namespace zorvant::ui
