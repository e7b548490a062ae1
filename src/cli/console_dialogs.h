#pragma once
#include "app/dialogs.h"

#include <iosfwd>

namespace zorvant::cli {

// Dialogs for a program without windows: messages go to the stream as UTF-8, and every question is
// answered as if the user cancelled it.
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
