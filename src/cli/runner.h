#pragma once
#include "cli/command.h"

namespace zorvant::cli {

// Runs zorvant-cli with its arguments (without the program name) and returns the exit code.
int runCli(const std::vector<std::string>& args, Streams streams);

} // namespace zorvant::cli
