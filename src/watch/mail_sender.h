#pragma once
// Sending e-mail through the configured SMTP server: the e-mail channel of the delivery worker, and the
// mail settings dialog's connection test.
#include "watch/delivery_channel.h"
#include "watch/mail_settings.h"

#include <stop_token>

namespace zorvant::watch {

class MailSender : public DeliveryChannel {
public:
    // Connects, greets, introduces itself and quits, without logging in; false on any failure. A stop
    // request ends it early with false.
    virtual bool testConnection(const MailSettings& settings, std::stop_token stop) = 0;
};

} // namespace zorvant::watch
