#include "cli/command.h"

namespace zorvant::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    return commands;
}

} // namespace zorvant::cli
