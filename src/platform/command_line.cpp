#include "platform/command_line.h"

namespace zorvant::platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
}

std::string programName(std::string_view line, std::size_t& pos) {
    std::string name;
    bool quoted = false;
    for (; pos < line.size() && (quoted || !isBlank(line[pos])); ++pos) {
        if (line[pos] == '"')
            quoted = !quoted;
        else
            name += line[pos];
    }
    return name;
}

std::string argument(std::string_view line, std::size_t& pos) {
    std::string arg;
    bool quoted = false;
    while (pos < line.size() && (quoted || !isBlank(line[pos]))) {
        std::size_t backslashes = 0;
        while (pos < line.size() && line[pos] == '\\') {
            ++backslashes;
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '"') {
            arg.append(backslashes, '\\');
            if (pos < line.size() && (quoted || !isBlank(line[pos])))
                arg += line[pos++];
            continue;
        }
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
            arg += '"';
        } else if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
            arg += '"';
            ++pos;
        } else {
            quoted = !quoted;
        }
        ++pos;
    }
    return arg;
}

} // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::size_t pos = 0;
    skipBlanks(line, pos);
    if (pos >= line.size())
        return args;
    args.push_back(programName(line, pos));
    for (skipBlanks(line, pos); pos < line.size(); skipBlanks(line, pos))
        args.push_back(argument(line, pos));
    return args;
}

} // namespace zorvant::platform
