#pragma once
#include "platform/services.h"
#include "watch/mail_sender.h"

namespace zorvant::cli {

// For commands that only read and write files: file operations are the real ones, while sounds,
// shell opening, program starts and mail fail with a clear text instead of acting.
class FilesOnlyServices final : public platform::Services {
public:
    void shellOpen(std::string_view target) override;
    void startCommandLine(std::string_view commandLine) override;
    void playSound(std::string_view wavFile) override;
};

class NoMailSender final : public watch::MailSender {
public:
    watch::DeliveryOutcome deliver(const watch::Parcel& parcel, std::stop_token stop) override;
    bool testConnection(const watch::MailSettings&, std::stop_token) override { return false; }
};

} // namespace zorvant::cli
