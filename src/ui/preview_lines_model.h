#pragma once
// The lines a run of "Проверка на истории" wrote, as a table model: the simulated server time and the
// line, however many thousands there are.
#include "sim/terminal.h"

#include <QAbstractTableModel>
#include <vector>

namespace zorvant::ui {

class PreviewLinesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PreviewLinesModel(const std::vector<sim::WrittenLine>& lines, QObject* parent = nullptr);
    // Shows the lines anew after a run replaced them.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<sim::WrittenLine>& lines_;
};

} // namespace zorvant::ui
