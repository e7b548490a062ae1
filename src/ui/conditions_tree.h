#pragma once
// ConditionsView: the tree of the condition list. Only a contiguous range of siblings can be selected,
// with Shift; Ctrl does not toggle single nodes; a right click opens the context menu and keeps the
// selection. The selection goes to the model ordered from the anchor end to the clicked end.
#include "app/controls.h"

#include <QTreeWidget>
#include <string>
#include <utility>
#include <vector>

class QMenu;

namespace zorvant::ui {

class ConditionsTree : public QTreeWidget {
    Q_OBJECT

public:
    ConditionsTree(app::TreeView& model, QWidget* parent = nullptr);

    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }
    // Shows the model: nodes (rebuilt only when they changed), images, expansion, selection, state.
    void refresh();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void updateGeometries() override;

private:
    void rebuild();
    void addItems(QTreeWidgetItem* parentItem, const conditions::Node& node, int conditionNumber);
    // Selects the clicked item alone, or with Shift the siblings from the anchor to it, and tells the model.
    void selectFromUser(QTreeWidgetItem* clicked, bool extend);
    void showSelection();
    std::vector<QTreeWidgetItem*> rangeBetween(QTreeWidgetItem* from, QTreeWidgetItem* to) const;
    conditions::Node* nodeOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemOf(const conditions::Node* node) const;

    app::TreeView& model_;
    QMenu* contextMenu_ = nullptr;
    std::vector<std::pair<const conditions::Node*, std::string>> shown_;
    bool refreshing_ = false;
    bool fitting_ = false;
};

} // namespace zorvant::ui
