#pragma once
// Starting programs on POSIX systems: directly, never through a shell, and without waiting.
#include <string>
#include <vector>

namespace zorvant::platform {

// Starts the program args[0] (looked up on PATH when it has no slash) with the arguments, all UTF-8, in a
// new process that inherits this one's environment. Does not wait; the process is reaped when it ends.
// False when the program could not be started. Quiet sends its output to /dev/null.
enum class Output { Inherited, Quiet };
bool spawnDetached(const std::vector<std::string>& utf8Args, Output output = Output::Inherited);

} // namespace zorvant::platform
