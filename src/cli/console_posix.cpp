#include "cli/console.h"

namespace zorvant::cli {

Console::Console(int argc, char** argv) : arguments_(argv + 1, argv + argc) {}

Console::~Console() = default;

} // namespace zorvant::cli
