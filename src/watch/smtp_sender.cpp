#include "watch/smtp_sender.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "watch/mail_message.h"
#include "watch/smtp_outcome.h"
#include "watch/smtp_session.h"

namespace zorvant::watch {
using namespace text::literals;

SmtpMailSender::SmtpMailSender(SmtpOptions options) : options_(std::move(options)) {}

DeliveryOutcome SmtpMailSender::deliver(const Parcel& parcel, std::stop_token stop) {
    const MailSettings& settings = parcel.mail;
    try {
        const SmtpEndpoint endpoint = parseSmtpEndpoint(settings.host);
        const ComposedMail mail = composeMail(settings, parcel.target, parcel.text, newMailStamp());
        // The password goes over TLS or not at all.
        SmtpSession session(endpoint, options_, settings.authenticate);
        if (settings.authenticate)
            session.logIn(settings.login, settings.password);
        session.setEnvelope(mail.envelopeSender, mail.envelopeRecipients);
        session.setUpload(mail.data);
        const CURLcode code = session.perform(std::move(stop));
        return smtpOutcome(endpoint,
                           {code, session.curlError(code), session.transcript(), settings.authenticate});
    } catch (const Error& error) {
        // Settings or addresses that cannot make a message: kept until the record or the settings are mended.
        return {DeliveryOutcome::Kind::RetryLater, error.what()};
    }
}

bool SmtpMailSender::testConnection(const MailSettings& settings, std::stop_token stop) {
    try {
        SmtpSession session(parseSmtpEndpoint(settings.host), options_, false);
        session.setCommand("NOOP");
        return session.perform(std::move(stop)) == CURLE_OK;
    } catch (const Error&) {
        return false;
    }
}

} // namespace zorvant::watch
