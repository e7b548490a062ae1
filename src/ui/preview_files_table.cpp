#include "ui/preview_files_table.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace zorvant::ui {
using namespace text::literals;

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

PreviewFilesTable::PreviewFilesTable(std::vector<app::LineFile>& files, int& currentRow, QWidget* parent)
    : QTableWidget(0, 3, parent), files_(files), currentRow_(currentRow) {
    setObjectName("Files");
    setHorizontalHeaderLabels({qt("График"_cp), qt("Линия"_cp), qt("Файл свечей"_cp)});
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            currentRow_ = row;
    });
}

void PreviewFilesTable::refresh() {
    const QSignalBlocker blocker(this);
    setRowCount(static_cast<int>(files_.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const app::LineFile& line = files_[static_cast<std::size_t>(row)];
        setItem(row, 0, cell(qt(line.chart)));
        setItem(row, 1, cell(QString::number(line.line)));
        setItem(row, 2, cell(line.file.empty() ? qt("не выбран"_cp) : qt(line.file)));
        item(row, 2)->setForeground(line.file.empty() ? Qt::gray : palette().color(QPalette::Text));
    }
    if (currentRow_ >= 0 && currentRow_ < rowCount())
        setCurrentCell(currentRow_, 2);
}

} // namespace zorvant::ui
