#pragma once
// Runs zorvant-cli in-process with captured streams, for tests of its commands.
#include "cli/runner.h"

#include <sstream>
#include <string>
#include <vector>

namespace zorvant::testing {

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

inline CliResult runCliCaptured(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::runCli(args, {out, err});
    return {code, out.str(), err.str()};
}

} // namespace zorvant::testing
