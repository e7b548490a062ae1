#include "sim/warnings.h"

namespace zorvant::sim {

void Warnings::add(SourcePos pos, std::string_view text) {
    const auto [it, added] = index_.try_emplace(std::string(text), entries_.size());
    if (added)
        entries_.push_back({std::string(text), pos, 0});
    ++entries_[it->second].count;
}

std::size_t Warnings::total() const {
    std::size_t sum = 0;
    for (const auto& e : entries_)
        sum += e.count;
    return sum;
}

std::size_t Warnings::countContaining(std::string_view part) const {
    std::size_t sum = 0;
    for (const auto& e : entries_)
        if (e.text.find(part) != std::string::npos)
            sum += e.count;
    return sum;
}

} // namespace zorvant::sim
