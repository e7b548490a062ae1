#include "conditions/condition_list.h"

#include <algorithm>
#include <stdexcept>

namespace zorvant::conditions {

int Node::level() const {
    int level = 0;
    for (const Node* p = parent_; p != nullptr; p = p->parent_)
        ++level;
    return level;
}

Node& Node::addChild(std::string childText) {
    children_.push_back(std::make_unique<Node>(std::move(childText), this));
    return *children_.back();
}

namespace {

void walk(const std::vector<std::unique_ptr<Node>>& nodes, const std::function<void(Node&)>& visit) {
    for (const auto& node : nodes) {
        visit(*node);
        walk(node->children(), visit);
    }
}

std::size_t positionOf(const std::vector<std::unique_ptr<Node>>& siblings, const Node& node) {
    const auto it =
        std::find_if(siblings.begin(), siblings.end(), [&](const auto& n) { return n.get() == &node; });
    if (it == siblings.end())
        throw std::logic_error("node is not in the condition list");
    return static_cast<std::size_t>(it - siblings.begin());
}

} // namespace

std::size_t ConditionList::nodeCount() const {
    std::size_t count = 0;
    walk(roots_, [&](Node&) { ++count; });
    return count;
}

Node* ConditionList::nodeAt(std::size_t position) const {
    Node* found = nullptr;
    std::size_t index = 0;
    walk(roots_, [&](Node& node) {
        if (index++ == position)
            found = &node;
    });
    return found;
}

void ConditionList::forEachInTreeOrder(const std::function<void(Node&)>& visit) const {
    walk(roots_, visit);
}

const std::vector<std::unique_ptr<Node>>& ConditionList::siblingsOf(const Node& node) const {
    return node.parent() != nullptr ? node.parent()->children_ : roots_;
}

std::vector<std::unique_ptr<Node>>& ConditionList::siblingsOf(const Node& node) {
    return node.parent() != nullptr ? node.parent()->children_ : roots_;
}

Node* ConditionList::nextSibling(const Node& node) const {
    const auto& siblings = siblingsOf(node);
    const std::size_t index = positionOf(siblings, node);
    return index + 1 < siblings.size() ? siblings[index + 1].get() : nullptr;
}

Node* ConditionList::previousSibling(const Node& node) const {
    const auto& siblings = siblingsOf(node);
    const std::size_t index = positionOf(siblings, node);
    return index > 0 ? siblings[index - 1].get() : nullptr;
}

std::size_t ConditionList::indexAmongSiblings(const Node& node) const {
    return positionOf(siblingsOf(node), node);
}

Node& ConditionList::topLevelAncestor(Node& node) {
    Node* top = &node;
    while (top->parent() != nullptr)
        top = top->parent();
    return *top;
}

bool ConditionList::isWithin(const Node& node, const Node& root) {
    for (const Node* p = &node; p != nullptr; p = p->parent())
        if (p == &root)
            return true;
    return false;
}

Node& ConditionList::addTopLevel(std::string text) {
    roots_.push_back(std::make_unique<Node>(std::move(text)));
    return *roots_.back();
}

Node& ConditionList::addTopLevelFront(std::string text) {
    roots_.insert(roots_.begin(), std::make_unique<Node>(std::move(text)));
    return *roots_.front();
}

Node& ConditionList::insertAfter(Node& sibling, std::string text) {
    auto& siblings = siblingsOf(sibling);
    const std::size_t index = positionOf(siblings, sibling);
    auto inserted = siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                                    std::make_unique<Node>(std::move(text), sibling.parent()));
    return **inserted;
}

void ConditionList::remove(Node& node) {
    auto& siblings = siblingsOf(node);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(positionOf(siblings, node)));
}

} // namespace zorvant::conditions
