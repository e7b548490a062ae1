#include "ui/journal_page.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

JournalPage::JournalPage(const app::TextTable& journal, QWidget* parent)
    : QWidget(parent), journal_(journal) {
    setObjectName("TabSheet4");
    JournalTable = new QTableWidget(0, 6);
    JournalTable->setObjectName("JournalTable");
    JournalTable->setHorizontalHeaderLabels({qt("Время"_cp), qt("Файл сообщений"_cp), qt("Действие"_cp),
                                             qt("Цель"_cp), qt("Текст сообщения"_cp), qt("Результат"_cp)});
    JournalTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    JournalTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    JournalTable->verticalHeader()->setVisible(false);
    JournalTable->verticalHeader()->setDefaultSectionSize(20);
    JournalTable->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(JournalTable);
}

void JournalPage::refresh() {
    if (shownVersion_ == journal_.version)
        return;
    shownVersion_ = journal_.version;
    JournalTable->setRowCount(static_cast<int>(journal_.rows.size()));
    for (int row = 0; row < JournalTable->rowCount(); ++row) {
        const auto& cells = journal_.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < JournalTable->columnCount() && column < static_cast<int>(cells.size());
             ++column)
            JournalTable->setItem(row, column,
                                  new QTableWidgetItem(qt(cells[static_cast<std::size_t>(column)])));
    }
    JournalTable->resizeColumnsToContents();
}

} // namespace zorvant::ui
