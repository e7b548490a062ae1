#pragma once
// A whole portfolio script as read: its header, PROGRAM body, FUNCs and PARAMETER blocks.
#include "sim/ast.h"
#include "sim/program.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::sim {

struct ScriptHeader {
    std::string portfolio;
    std::string description;
    std::string clientsList;
    std::string firmsList;
    bool caseSensitiveConstants = false;
};

struct Column {
    std::string name;
    std::string title;
    std::string description;
    std::string type;
    SourcePos pos;
};

struct Script {
    ScriptHeader header;
    std::vector<Column> columns;
    std::vector<Function> functions;
    Block body;
    // Slot number -> variable name (Latin upper case).
    std::vector<std::string> globals;
    // What the machine runs; its instructions point into the parsed form above.
    Program program;
};

// Reads a script's Windows-1251 text. Throws ScriptError at the first fault, with line and column.
Script parseScript(std::string_view text);

} // namespace zorvant::sim
