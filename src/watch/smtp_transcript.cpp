#include "watch/smtp_transcript.h"

#include <algorithm>
#include <array>

namespace zorvant::watch {
namespace {

constexpr std::array<std::string_view, 11> kCommands = {"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL", "RCPT",
                                                        "DATA", "QUIT", "NOOP",     "RSET", "VRFY"};

template <typename Each> void forEachLine(std::string_view lines, Each each) {
    while (!lines.empty()) {
        const auto end = lines.find('\n');
        std::string_view line = lines.substr(0, end);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.remove_suffix(1);
        if (!line.empty())
            each(line);
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    }
}

std::string upper(std::string_view word) {
    std::string out(word);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The last line of a reply: three digits, then a space or nothing ("250-" lines continue it).
bool isFinalReply(std::string_view line) {
    return line.size() >= 3 && isDigit(line[0]) && isDigit(line[1]) && isDigit(line[2]) &&
           (line.size() == 3 || line[3] == ' ');
}

std::string addressIn(std::string_view command) {
    const auto open = command.find('<');
    const auto close = command.find('>', open);
    if (open == std::string_view::npos || close == std::string_view::npos)
        return {};
    return std::string(command.substr(open + 1, close - open - 1));
}

} // namespace

void SmtpTranscript::sent(std::string_view lines) {
    forEachLine(lines, [this](std::string_view line) {
        const std::string verb = upper(line.substr(0, line.find(' ')));
        // Lines that are no command (the user name and password of a login) leave the command as it was.
        if (std::find(kCommands.begin(), kCommands.end(), verb) == kCommands.end())
            return;
        command_ = verb;
        argument_ = verb == "RCPT" ? addressIn(line) : std::string();
        quitSent_ = quitSent_ || verb == "QUIT";
    });
}

void SmtpTranscript::received(std::string_view lines) {
    forEachLine(lines, [this](std::string_view line) {
        if (isFinalReply(line) && (line[0] == '4' || line[0] == '5'))
            refusals_.push_back({command_, argument_, std::string(line)});
    });
}

std::vector<SmtpTranscript::Refusal> SmtpTranscript::refusedRecipients() const {
    std::vector<Refusal> refused;
    std::copy_if(refusals_.begin(), refusals_.end(), std::back_inserter(refused),
                 [](const Refusal& refusal) { return refusal.command == "RCPT"; });
    return refused;
}

} // namespace zorvant::watch
