#pragma once
// The console as zorvant-cli meets it: arguments as UTF-8, and output bytes that reach the terminal as
// they were written. On Windows the arguments come from the wide command line (the narrow one is in the
// ANSI code page), and the console shows UTF-8 while the program runs.
#include <string>
#include <vector>

namespace zorvant::cli {

class Console {
public:
    Console(int argc, char** argv);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // The arguments without the program name.
    const std::vector<std::string>& arguments() const { return arguments_; }

private:
    std::vector<std::string> arguments_;
#ifdef _WIN32
    unsigned previousCodePage_ = 0; // the console's output code page, given back at exit
#endif
};

} // namespace zorvant::cli
