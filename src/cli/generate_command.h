#pragma once
#include "cli/command.h"

namespace zorvant::cli {

// zorvant-cli generate INPUT [--settings FILE] [--output FILE]: the QPL script of a portfolio
// description (*.xml) or a conditions file (*.con), made by the main window's own commands.
class GenerateCommand final : public Command {
public:
    std::string_view name() const override { return "generate"; }
    std::string_view usage() const override;
    int run(const std::vector<std::string>& args, Streams streams) override;
};

} // namespace zorvant::cli
