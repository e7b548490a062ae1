#pragma once
#include <string>
#include <string_view>

namespace zorvant::conditions {

// The text without leading and trailing spaces and control characters.
inline std::string trimmed(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace zorvant::conditions
