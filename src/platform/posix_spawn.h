#pragma once
// Starting programs on POSIX systems: directly, never through a shell, and without waiting.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zorvant::platform {

enum class Output { Inherited, Quiet };

struct Started {
    int error = 0;               // errno of the failed start; 0 when the program runs
    std::optional<int> exitCode; // when it ended within the time it was watched
};

// Starts the program args[0] (looked up on PATH when it has no slash) with the arguments, all UTF-8, in a
// new process that inherits this one's environment; Quiet sends its output to /dev/null. Waits at most
// the watch time for its end, so that a program that fails at once (a sound player without a sound
// card) says so; a process still running then is reaped when it ends.
Started spawnDetached(const std::vector<std::string>& utf8Args, Output output = Output::Inherited,
                      std::chrono::milliseconds watch = {});

} // namespace zorvant::platform
