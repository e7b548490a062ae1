#pragma once
// Recording fakes of the operating-system services and the mail sender, for tests of logic. File
// operations go to the real file system; what would reach the desktop or the network is recorded.
#include "app/tform1.h"
#include "platform/platform.h"
#include "platform/services.h"
#include "support/scripted_dialogs.h"
#include "watch/mail_sender.h"

#include <functional>
#include <string>
#include <vector>

namespace zorvant::testing {

class RecordingServices : public platform::Services {
public:
    std::vector<std::string> opened;
    std::vector<std::string> started;
    std::vector<std::string> played;
    // Sound files the player refuses, with the error it raises.
    std::vector<std::string> unplayable;

    platform::WriterState writerState(std::string_view name) override {
        return platform::systemServices().writerState(name);
    }
    void shellOpen(std::string_view target) override { opened.emplace_back(target); }
    void startCommandLine(std::string_view commandLine) override { started.emplace_back(commandLine); }
    void playSound(std::string_view wavFile) override;
};

// Deliveries run on the watcher's delivery thread: read what it recorded once they are done.
class RecordingMailSender : public watch::MailSender {
public:
    struct Sent {
        watch::MailSettings settings;
        std::string recipients;
        std::string body;
    };
    std::vector<Sent> sent;
    std::vector<watch::MailSettings> tested;
    bool connectionWorks = true;
    // When set, a delivery fails for now with this text instead of sending.
    std::string failWith;
    // Run inside every delivery and every connection test, before they answer.
    std::function<void()> whileSending;
    std::function<void()> whileTesting;

    watch::DeliveryOutcome deliver(const watch::Parcel& parcel, std::stop_token stop) override;
    bool testConnection(const watch::MailSettings& settings, std::stop_token) override {
        if (whileTesting)
            whileTesting();
        tested.push_back(settings);
        return connectionWorks;
    }
};

// The two windows and the about box with scripted dialogs and recording services, as the program
// builds them; FormCreate has run, FormActivate has not.
struct Forms {
    explicit Forms(std::string programFolder, char decimalSeparator = ',');

    ScriptedDialogs dialogs;
    RecordingServices system;
    RecordingMailSender mail;
    app::TForm2 form2;
    app::TForm4 form4;
    app::TForm1 form1;
};

} // namespace zorvant::testing
