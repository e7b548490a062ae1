#pragma once
// The lines writer processes wrote, as their ledgers list them, against the lines watchers acted on.
#include "support/text_lines.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zorvant::testing {

inline std::multiset<std::string> writtenLines(const std::vector<std::filesystem::path>& ledgers) {
    std::multiset<std::string> written;
    for (const auto& ledger : ledgers)
        for (auto& line : linesOf(ledger))
            written.insert(std::move(line));
    return written;
}

struct LineTally {
    std::size_t duplicates = 0; // acted on more than once
    std::size_t losses = 0;     // written, never acted on
    std::size_t unknown = 0;    // acted on, never written
};

inline LineTally tally(const std::multiset<std::string>& written, const std::vector<std::string>& acted) {
    std::map<std::string, int> actedOn;
    for (const auto& line : acted)
        ++actedOn[line];
    LineTally counts;
    for (const auto& [line, times] : actedOn) {
        counts.duplicates += times > 1 ? static_cast<std::size_t>(times - 1) : 0;
        counts.unknown += written.count(line) == 0 ? 1 : 0;
    }
    for (const auto& line : written)
        counts.losses += actedOn.count(line) == 0 ? 1 : 0;
    return counts;
}

} // namespace zorvant::testing
