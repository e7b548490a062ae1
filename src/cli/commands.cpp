#include "cli/command.h"
#include "cli/generate_command.h"
#include "cli/mail_test_command.h"
#include "cli/simulate_command.h"
#include "cli/watch_command.h"
#include "watch/smtp_sender.h"

namespace zorvant::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<GenerateCommand>());
    commands.push_back(std::make_unique<WatchCommand>(std::make_unique<watch::SmtpMailSender>()));
    commands.push_back(std::make_unique<MailTestCommand>());
    commands.push_back(makeSimulateCommand());
    return commands;
}

} // namespace zorvant::cli
