#pragma once
// A world that answers nothing: the windows' collaborators for entries that only read text.
#include "app/dialogs.h"
#include "platform/services.h"
#include "watch/mail_sender.h"

namespace zorvant::fuzz {

class NullDialogs : public app::Dialogs {
public:
    int messages = 0;
    void showMessage(std::string_view) override { ++messages; }
    std::optional<std::string> openFile(const app::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const app::FileDialogRequest&) override { return {}; }
    std::optional<std::string> browseForFolder(std::string_view, std::string_view) override { return {}; }
    void showMailSettings() override {}
    void showAbout() override {}
    void showHelp(std::string_view, int) override {}
};

// Nothing exists and nothing can be done: an entry never touches the real file system.
class NullServices : public platform::Services {
public:
    bool plainFileExists(std::string_view) override { return false; }
    bool deleteFile(std::string_view) override { return false; }
    bool copyFileReplacing(std::string_view, std::string_view) override { return false; }
    bool renameFile(std::string_view, std::string_view) override { return false; }
    std::string readFile(std::string_view) override;
    void shellOpen(std::string_view) override {}
    void startCommandLine(std::string_view) override {}
    void playSound(std::string_view) override {}
};

class NullMail : public watch::MailSender {
public:
    watch::DeliveryOutcome deliver(const watch::Parcel&, std::stop_token) override { return {}; }
    bool testConnection(const watch::MailSettings&, std::stop_token) override { return false; }
};

} // namespace zorvant::fuzz
