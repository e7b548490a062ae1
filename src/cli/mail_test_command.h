#pragma once
// zorvant-cli mail-test [--settings FILE]: the mail settings dialog's connection test, run on the mail
// settings of a settings file (by default the program's own).
#include "cli/command.h"
#include "watch/smtp_sender.h"

namespace zorvant::cli {

class MailTestCommand final : public Command {
public:
    explicit MailTestCommand(watch::SmtpOptions options = {}) : options_(std::move(options)) {}

    std::string_view name() const override { return "mail-test"; }
    std::string_view usage() const override;
    // 0 when the test passed, 1 when it failed or the settings could not be read, 2 for bad arguments.
    int run(const std::vector<std::string>& args, Streams streams) override;

private:
    watch::SmtpOptions options_;
};

} // namespace zorvant::cli
