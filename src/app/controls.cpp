#include "app/controls.h"

#include <algorithm>

namespace zorvant::app {

void TreeView::remove(conditions::Node& node) {
    const auto inside = [&](const conditions::Node* n) {
        return n != nullptr && conditions::ConditionList::isWithin(*n, node);
    };
    if (inside(selected))
        selected = nullptr;
    std::erase_if(selection, inside);
    items.remove(node);
}

void TreeView::clear() {
    selected = nullptr;
    selection.clear();
    items.clear();
}

} // namespace zorvant::app
