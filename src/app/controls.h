#pragma once
// Plain models of the window controls: the properties the logic reads and writes. The Qt views copy
// them into real widgets and copy user input back. Texts are Windows-1251.
#include "conditions/condition_list.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvant::app {

// A colour as the platform knows it: one of the system colours the logic names, or a fixed RGB value.
struct Colour {
    enum class Kind { Window, ButtonFace, WindowText, Rgb };
    Kind kind = Kind::Window;
    std::uint8_t red = 0, green = 0, blue = 0;

    static Colour window() { return {}; }
    static Colour buttonFace() { return {Kind::ButtonFace}; }
    static Colour windowText() { return {Kind::WindowText}; }
    static Colour gray() { return {Kind::Rgb, 128, 128, 128}; }
    bool operator==(const Colour&) const = default;
};

struct Label {
    std::string caption;
    Colour colour = Colour::windowText();
};

struct Edit {
    std::string text;
    bool enabled = true;
};

struct ComboBox {
    std::string text;
    std::vector<std::string> items;
    int itemIndex = -1;
    bool enabled = true;

    // Selecting an item also sets the text, as a list selection does.
    void selectItem(int index) {
        itemIndex = index;
        text = items.at(static_cast<std::size_t>(index));
    }
};

struct CheckBox {
    bool checked = false;
};

struct RadioButton {
    bool checked = false;
};

// Whole numbers within [minimum, maximum] (the spin edits of line numbers and the watch interval).
struct SpinEdit {
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

struct Memo {
    std::vector<std::string> lines;
};

struct Button {
    std::string caption;
    bool visible = true;
    bool enabled = true;
    int imageIndex = -1;
};

// A fixed-width panel whose width the view reports (the headers above the watch table).
struct Panel {
    int width = 0;
};

struct Timer {
    bool enabled = true;
    int intervalMs = 5000;
};

// A progress bar: how far a long task has come.
struct ProgressBar {
    std::size_t position = 0;
    std::size_t maximum = 0;
    bool visible = false;
};

// Two pages, shown or hidden as one.
struct NotebookPages {
    bool visible = true;
    int pageIndex = 0;
};

struct TabSet {
    bool visible = true;
    int tabIndex = 0;
};

struct PageControl {
    int activePageIndex = 0;
};

// The watch table grid: rows of three text cells; it never has zero rows.
struct StringGrid {
    using Row = std::array<std::string, 3>;
    std::vector<Row> rows = {Row{}};
    int row = 0; // the current row
    std::array<int, 3> colWidths = {0, 0, 0};
    bool enabled = true;
    Colour colour = Colour::window();
};

// The icon in the desktop's notification area: its tooltip, and the balloon to show, which each new
// balloon counts up so that the view shows it once.
struct TrayIcon {
    std::string tip;
    std::string balloonTitle;
    std::string balloonText;
    int balloons = 0;
};

// A read-only table of text rows; its version counts changes, so that a view copies the rows only then.
struct TextTable {
    std::vector<std::vector<std::string>> rows;
    int version = 0;
};

// The tree view of the condition list with the view state the logic uses.
struct TreeView {
    conditions::ConditionList items;
    conditions::Node* selected = nullptr;
    // The multi-selection in the order the view reports it (anchor end first or last).
    std::vector<conditions::Node*> selection;
    bool enabled = true;
    Colour colour = Colour::window();

    void select(conditions::Node* node) {
        selected = node;
        selection.clear();
        if (node != nullptr)
            selection.push_back(node);
    }
    // Deletes the node with its subtree and forgets any selection inside it.
    void remove(conditions::Node& node);
    void clear();
};

} // namespace zorvant::app
