#include "ui/preview_lines_model.h"

#include "app/preview_run.h"
#include "text/cp1251.h"
#include "ui/qt_text.h"

namespace zorvant::ui {
using namespace text::literals;

PreviewLinesModel::PreviewLinesModel(const std::vector<sim::WrittenLine>& lines, QObject* parent)
    : QAbstractTableModel(parent), lines_(lines) {}

void PreviewLinesModel::reload() {
    beginResetModel();
    endResetModel();
}

int PreviewLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int PreviewLinesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PreviewLinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const sim::WrittenLine& line = lines_[static_cast<std::size_t>(index.row())];
    return index.column() == 0 ? qt(app::momentText(line.moment)) : qt(line.text);
}

QVariant PreviewLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == 0 ? qt("Время сервера"_cp) : qt("Строка сообщения"_cp);
}

} // namespace zorvant::ui
