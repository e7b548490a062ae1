#pragma once
// The mail settings dialog: its controls hold the mail settings, in force as soon as they are typed.
#include "app/controls.h"
#include "app/dialogs.h"

#include "watch/mail_sender.h"

namespace zorvant::app {

class TForm2 {
public:
    TForm2(Dialogs& dialogs, watch::MailSender& mail);

    ComboBox mailhost;
    Edit MailReceipt;
    Edit MailSubject;
    CheckBox MailAut;
    Edit maillogin;
    Edit mailpassword;

    // "Тест соединения": connect, greet, introduce, quit; reports one of two messages and returns
    // whether the test passed.
    bool BitBtn2Click();
    // The same test in two halves, for a window that runs the network part off its own thread: the mail
    // settings and the sender to test with, and the message once the test is over.
    watch::MailSender& mailSender() { return mail_; }
    void connectionTested(bool passed);

private:
    Dialogs& dialogs_;
    watch::MailSender& mail_;
};

// The mail settings in force: the dialog's controls as they stand.
watch::MailSettings mailSettingsOf(const TForm2& form);

} // namespace zorvant::app
