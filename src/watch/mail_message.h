#pragma once
// Composition of one e-mail from the mail settings, a watch record's Target and the message text.
#include "watch/mail_settings.h"
#include "watch/mail_stamp.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

struct ComposedMail {
    std::string envelopeSender;
    std::vector<std::string> envelopeRecipients;
    std::string data; // header lines, a blank line and the body, every line ending with CR LF
};

// The message the server receives: the subject and the sender as the settings give them, every
// recipient of the list, and the text as the one body line. Throws zorvant::Error when the list holds
// no recipient, or when an address holds a character that would break the header or the SMTP command.
ComposedMail composeMail(const MailSettings& settings, std::string_view recipients, std::string_view body,
                         const MailStamp& stamp);

} // namespace zorvant::watch
