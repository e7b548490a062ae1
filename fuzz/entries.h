#pragma once
// The fuzz entry points: each feeds arbitrary bytes to one reader of the program and checks what must
// hold for any input. libFuzzer calls them, and the normal test run replays the kept inputs through them.
#include <stdexcept>
#include <string_view>
#include <vector>

namespace zorvant::fuzz {

// A broken invariant. Errors the program reports to the user (zorvant::Error) are expected behaviour and
// are caught by the entries; anything else that escapes is a finding too.
class Finding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

inline void check(bool holds, const char* what) {
    if (!holds)
        throw Finding(what);
}

using Entry = void (*)(std::string_view bytes);

struct Target {
    std::string_view name; // also the folder of its kept inputs
    Entry entry;
};

const std::vector<Target>& targets();
Entry entryNamed(std::string_view name);

// Keeps a result alive so that the optimiser cannot drop the code that computed it.
void keep(std::size_t value);

void textCodec(std::string_view bytes);
void numberParser(std::string_view bytes);
void numberFormat(std::string_view bytes);
void lineSplitters(std::string_view bytes);
void settingsReader(std::string_view bytes);
void conditionsReader(std::string_view bytes);
void descriptionReader(std::string_view bytes);
void qplSimulator(std::string_view bytes);
void candleReader(std::string_view bytes);
void mailComposer(std::string_view bytes);
void smtpEndpoint(std::string_view bytes);
void waveHeader(std::string_view bytes);

} // namespace zorvant::fuzz
