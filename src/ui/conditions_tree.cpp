#include "ui/conditions_tree.h"

#include "conditions/image_index.h"
#include "conditions/summary.h"
#include "conditions/tags.h"
#include "ui/images.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

namespace zorvant::ui {
using conditions::Node;

namespace {
constexpr int kNodeRole = Qt::UserRole;
}

ConditionsTree::ConditionsTree(app::TreeView& model, QWidget* parent) : QTreeWidget(parent), model_(model) {
    setObjectName("ConditionsView");
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    // Long labels scroll sideways rather than being cut; see updateGeometries.
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!refreshing_)
            nodeOf(item)->expanded = true;
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!refreshing_)
            nodeOf(item)->expanded = false;
    });
}

Node* ConditionsTree::nodeOf(const QTreeWidgetItem* item) const {
    return item == nullptr ? nullptr : reinterpret_cast<Node*>(item->data(0, kNodeRole).value<quintptr>());
}

QTreeWidgetItem* ConditionsTree::itemOf(const Node* node) const {
    if (node == nullptr)
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<ConditionsTree*>(this)); *it; ++it)
        if (nodeOf(*it) == node)
            return *it;
    return nullptr;
}

void ConditionsTree::refresh() {
    refreshing_ = true;
    std::vector<std::pair<const Node*, std::string>> nodes;
    model_.items.forEachInTreeOrder([&](Node& node) { nodes.emplace_back(&node, node.text); });
    if (nodes != shown_) {
        shown_ = std::move(nodes);
        rebuild();
    }
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        (*it)->setExpanded(nodeOf(*it)->expanded);
    showSelection();
    setEnabled(model_.enabled);
    QPalette colours = palette();
    const QColor background = qtColour(model_.colour, QApplication::palette());
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Base, background);
    setPalette(colours);
    refreshing_ = false;
}

void ConditionsTree::rebuild() {
    clear();
    int conditionNumber = 0;
    for (const auto& node : model_.items.topLevel()) {
        if (conditions::isCondition(*node))
            ++conditionNumber;
        addItems(nullptr, *node, conditionNumber);
    }
}

void ConditionsTree::addItems(QTreeWidgetItem* parentItem, const Node& node, int conditionNumber) {
    auto* item = parentItem == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parentItem);
    // A top-level node also says what it holds, so that it reads as one line when collapsed.
    item->setText(0, qt(parentItem == nullptr ? conditions::summaryLabel(node, conditionNumber) : node.text));
    item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    item->setIcon(0, nodeIcon(conditions::ConditionsViewGetImageIndex(const_cast<Node&>(node))));
    for (const auto& child : node.children())
        addItems(item, *child, conditionNumber);
}

void ConditionsTree::updateGeometries() {
    // The one column is as wide as its widest label, and at least as wide as the view, so that a row
    // can be clicked anywhere across it.
    if (!fitting_) {
        fitting_ = true;
        header()->resizeSection(0, std::max(sizeHintForColumn(0), viewport()->width()));
        fitting_ = false;
    }
    QTreeWidget::updateGeometries();
}

void ConditionsTree::showSelection() {
    const bool wasRefreshing = refreshing_;
    refreshing_ = true;
    clearSelection();
    std::vector<Node*> selection = model_.selection;
    if (selection.empty() && model_.selected != nullptr)
        selection.push_back(model_.selected);
    for (Node* node : selection)
        if (QTreeWidgetItem* item = itemOf(node))
            item->setSelected(true);
    if (QTreeWidgetItem* current = itemOf(model_.selected))
        selectionModel()->setCurrentIndex(indexFromItem(current), QItemSelectionModel::NoUpdate);
    refreshing_ = wasRefreshing;
}

std::vector<QTreeWidgetItem*> ConditionsTree::rangeBetween(QTreeWidgetItem* from, QTreeWidgetItem* to) const {
    QTreeWidgetItem* parentItem = from->parent();
    const auto indexIn = [&](QTreeWidgetItem* item) {
        return parentItem != nullptr ? parentItem->indexOfChild(item) : indexOfTopLevelItem(item);
    };
    const auto at = [&](int index) {
        return parentItem != nullptr ? parentItem->child(index) : topLevelItem(index);
    };
    const int start = indexIn(from);
    const int end = indexIn(to);
    const int step = end >= start ? 1 : -1;
    std::vector<QTreeWidgetItem*> range;
    for (int index = start;; index += step) {
        range.push_back(at(index));
        if (index == end)
            break;
    }
    return range;
}

void ConditionsTree::selectFromUser(QTreeWidgetItem* clicked, bool extend) {
    if (clicked == nullptr) {
        showSelection();
        return;
    }
    Node* clickedNode = nodeOf(clicked);
    QTreeWidgetItem* anchor = model_.selection.empty() ? nullptr : itemOf(model_.selection.front());
    std::vector<Node*> selection;
    if (extend && anchor != nullptr && anchor->parent() == clicked->parent()) {
        for (QTreeWidgetItem* item : rangeBetween(anchor, clicked))
            selection.push_back(nodeOf(item));
    } else {
        selection.push_back(clickedNode);
    }
    model_.selected = clickedNode;
    model_.selection = std::move(selection);
    showSelection();
}

void ConditionsTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidgetItem* clicked = itemAt(event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        selectFromUser(clicked, event->modifiers().testFlag(Qt::ShiftModifier));
}

void ConditionsTree::mouseMoveEvent(QMouseEvent* event) {
    // Dragging with a button held would select the nodes passed over.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void ConditionsTree::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    if (after != nullptr && after != before)
        selectFromUser(after, event->modifiers().testFlag(Qt::ShiftModifier));
}

void ConditionsTree::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_ != nullptr)
        contextMenu_->exec(event->globalPos());
    event->accept();
}

} // namespace zorvant::ui
