#pragma once
// The table of "Проверка на истории" that pairs each chart line the conditions read with its candle
// file: chart, line and file, one row each. The current row goes to the model; a double click on a row
// asks for its file.
#include "app/preview_lines.h"

#include <QTableWidget>
#include <vector>

namespace zorvant::ui {

class PreviewFilesTable : public QTableWidget {
    Q_OBJECT

public:
    PreviewFilesTable(std::vector<app::LineFile>& files, int& currentRow, QWidget* parent = nullptr);
    void refresh();

private:
    std::vector<app::LineFile>& files_;
    int& currentRow_;
};

} // namespace zorvant::ui
