#pragma once
#include "cli/command.h"
#include "watch/mail_sender.h"

namespace zorvant::cli {

// zorvant-cli watch [--settings FILE] [--once]: watches the message files of a settings file's watch
// table at its interval, printing a line for every action and error, until SIGINT or SIGTERM. The
// settings file is only read. --once ends with 1 when anything failed.
class WatchCommand final : public Command {
public:
    explicit WatchCommand(std::unique_ptr<watch::MailSender> mail);

    std::string_view name() const override { return "watch"; }
    std::string_view usage() const override;
    int run(const std::vector<std::string>& args, Streams streams) override;

private:
    std::unique_ptr<watch::MailSender> mail_;
};

} // namespace zorvant::cli
