#pragma once
// What one generation produces. Texts are Windows-1251.
#include <string>
#include <vector>

namespace zorvant::qpl {

struct GeneratedScript {
    std::vector<std::string> lines;
    // True when the input cannot give a working script: lines is empty and messages says why.
    bool refused = false;
    // Message boxes to show the user, in the order they arose.
    std::vector<std::string> messages;
    std::string messagePeriod;
    std::string messageChart;
};

} // namespace zorvant::qpl
