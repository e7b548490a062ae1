// libFuzzer's entry for the one target named by ZORVANT_FUZZ_TARGET.
#include "entries.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto entry = zorvant::fuzz::entryNamed(ZORVANT_FUZZ_TARGET);
    if (entry == nullptr)
        std::abort();
    try {
        entry({reinterpret_cast<const char*>(data), size});
    } catch (const std::exception& finding) {
        std::fprintf(stderr, "finding in %s: %s\n", ZORVANT_FUZZ_TARGET, finding.what());
        std::abort();
    }
    return 0;
}
