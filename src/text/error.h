#pragma once
#include <stdexcept>
#include <string>

namespace zorvant {

// An error that reaches the user: its text is Windows-1251 and is shown as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& cp1251Text) : std::runtime_error(cp1251Text) {}
};

} // namespace zorvant
