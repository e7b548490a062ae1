#include "cli/console.h"
#include "cli/runner.h"

#include <iostream>

int main(int argc, char** argv) {
    const zorvant::cli::Console console(argc, argv);
    return zorvant::cli::runCli(console.arguments(), {std::cout, std::cerr});
}
