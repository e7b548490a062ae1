#pragma once
// Warnings of a run, each text counted once with the place where it first arose.
#include "sim/script_error.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace zorvant::sim {

class Warnings {
public:
    struct Entry {
        std::string text;
        SourcePos first;
        std::size_t count = 0;
    };

    void add(SourcePos pos, std::string_view text);
    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t total() const;
    // How many times a warning whose text contains part was raised.
    std::size_t countContaining(std::string_view part) const;

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace zorvant::sim
