#pragma once
// One zorvant-cli command. Arguments arrive as UTF-8, as the console gives them; output is UTF-8.
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string_view name() const = 0;
    // One line for the --help listing, UTF-8.
    virtual std::string_view usage() const = 0;
    // Returns the exit code; errors go to err in the user's words.
    virtual int run(const std::vector<std::string>& args, Streams streams) = 0;
};

// Every command of the program, in the order --help lists them.
std::vector<std::unique_ptr<Command>> allCommands();

} // namespace zorvant::cli
