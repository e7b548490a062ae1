#pragma once
// The non-empty lines of a text file that programs of the tests write (LF line ends).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zorvant::testing {

inline std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

} // namespace zorvant::testing
