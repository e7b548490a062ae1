#include "cli/runner.h"

#include <ostream>

namespace zorvant::cli {
namespace {

constexpr std::string_view kVersion = "1.1";

void printHelp(std::ostream& out, const std::vector<std::unique_ptr<Command>>& commands) {
    out << "Zorvant " << kVersion
        << ": генерация информирующих скриптов для QUIK и отслеживание сообщений.\n\n"
        << "Использование:\n"
        << "  zorvant-cli --help         эта справка\n"
        << "  zorvant-cli --version      версия программы\n";
    for (const auto& command : commands)
        out << "  zorvant-cli " << command->usage() << '\n';
}

} // namespace

int runCli(const std::vector<std::string>& args, Streams streams) {
    const auto commands = allCommands();
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(args.empty() ? streams.err : streams.out, commands);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        streams.out << kVersion << '\n';
        return 0;
    }
    for (const auto& command : commands)
        if (command->name() == args[0])
            return command->run(std::vector<std::string>(args.begin() + 1, args.end()), streams);
    streams.err << "zorvant-cli: неизвестная команда «" << args[0]
                << "». Список команд: zorvant-cli --help\n";
    return 2;
}

} // namespace zorvant::cli
