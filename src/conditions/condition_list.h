#pragma once
// The condition list: an ordered forest of text nodes. Top-level nodes are Conditions ("<УСЛОВИЕ>") and
// Operations ("<ОПЕРАЦИЯ>"); every value lives in a tagged field line below them. Texts are Windows-1251.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorvant::conditions {

class Node {
public:
    explicit Node(std::string text, Node* parent = nullptr) : text(std::move(text)), parent_(parent) {}

    std::string text;
    bool expanded = false;
    int imageIndex = -1;

    Node* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Node>>& children() const { return children_; }
    Node* firstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    Node* child(std::size_t index) const { return children_[index].get(); }
    std::size_t childCount() const { return children_.size(); }
    int level() const;

    Node& addChild(std::string childText);
    void clearChildren() { children_.clear(); }

private:
    friend class ConditionList;
    Node* parent_;
    std::vector<std::unique_ptr<Node>> children_;
};

class ConditionList {
public:
    const std::vector<std::unique_ptr<Node>>& topLevel() const { return roots_; }
    bool empty() const { return roots_.empty(); }

    // Count of all nodes and a node by its position in tree order (a node, its subtree, its next sibling).
    std::size_t nodeCount() const;
    Node* nodeAt(std::size_t position) const;
    void forEachInTreeOrder(const std::function<void(Node&)>& visit) const;

    Node* nextSibling(const Node& node) const;
    Node* previousSibling(const Node& node) const;
    std::size_t indexAmongSiblings(const Node& node) const;
    bool isFirstTopLevel(const Node& node) const {
        return node.parent() == nullptr && previousSibling(node) == nullptr;
    }
    // The last node of level 0, or null for an empty list.
    Node* lastTopLevel() const { return roots_.empty() ? nullptr : roots_.back().get(); }
    // The node itself when it is top-level, otherwise its top-level ancestor.
    static Node& topLevelAncestor(Node& node);
    // True when node is inside the subtree of root (root included).
    static bool isWithin(const Node& node, const Node& root);

    Node& addTopLevel(std::string text);
    Node& addTopLevelFront(std::string text);
    Node& insertAfter(Node& sibling, std::string text);
    // Deletes the node with its whole subtree.
    void remove(Node& node);
    void clear() { roots_.clear(); }

private:
    std::vector<std::unique_ptr<Node>>& siblingsOf(const Node& node);
    const std::vector<std::unique_ptr<Node>>& siblingsOf(const Node& node) const;

    std::vector<std::unique_ptr<Node>> roots_;
};

} // namespace zorvant::conditions
