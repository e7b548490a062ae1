#include "qpl/line_groups.h"

namespace zorvant::qpl {

std::string expand(std::string_view pattern, std::string_view number) {
    constexpr std::string_view kMark = "{C}";
    std::string out;
    out.reserve(pattern.size() + 8);
    std::size_t start = 0;
    for (std::size_t at = pattern.find(kMark); at != std::string_view::npos;
         at = pattern.find(kMark, start)) {
        out.append(pattern.substr(start, at - start)).append(number);
        start = at + kMark.size();
    }
    out.append(pattern.substr(start));
    return out;
}

void appendExpanded(std::vector<std::string>& out, std::span<const std::string_view> templates,
                    std::string_view number) {
    for (const auto pattern : templates)
        out.push_back(expand(pattern, number));
}

} // namespace zorvant::qpl
