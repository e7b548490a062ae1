#pragma once
#include <string>
#include <string_view>

namespace zorvant::sim {

// Joins pieces of text (strings, views, literals) into one string.
template <class... Parts> std::string cat(const Parts&... parts) {
    std::string out;
    (out.append(std::string_view(parts)), ...);
    return out;
}

} // namespace zorvant::sim
