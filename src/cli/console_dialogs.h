#pragma once
// Dialogs for a console with no one to answer: messages are printed as UTF-8 lines, questions count
// as cancelled, and windows of their own are not shown.
#include "app/dialogs.h"

#include <iosfwd>

namespace zorvant::cli {

class ConsoleDialogs final : public app::Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& out) : out_(out) {}

    void showMessage(std::string_view text) override;
    std::optional<std::string> openFile(const app::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const app::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> browseForFolder(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    void showMailSettings() override {}
    void showAbout() override {}
    void showHelp(std::string_view, int) override {}

private:
    std::ostream& out_;
};

} // namespace zorvant::cli
