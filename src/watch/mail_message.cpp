#include "watch/mail_message.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "watch/header_encoding.h"
#include "watch/mail_address.h"
#include "watch/quoted_printable.h"

#include <algorithm>

namespace zorvant::watch {
using namespace text::literals;

namespace {

// SMTP takes a path of at most 256 characters, angle brackets included.
constexpr std::size_t kLongestAddress = 254;

void checkAddress(std::string_view address) {
    // A blank never stands in an address: it is what is left of a list with an unclosed quote.
    const bool broken =
        address.size() > kLongestAddress || std::any_of(address.begin(), address.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte <= 0x20 || byte == 0x7F || c == '<' || c == '>';
        });
    if (broken)
        throw Error(std::string("Недопустимый адрес электронной почты: \""_cp) + std::string(address) +
                    "\".");
}

std::vector<Mailbox> recipientsOf(std::string_view list) {
    std::vector<Mailbox> mailboxes;
    for (const auto& part : splitMailboxList(list)) {
        mailboxes.push_back(parseMailbox(part));
        checkAddress(mailboxes.back().address);
    }
    if (mailboxes.empty())
        throw Error(std::string("Не указан ни один адрес получателя письма."_cp));
    return mailboxes;
}

std::vector<std::string> recipientTokens(const std::vector<Mailbox>& mailboxes) {
    std::vector<std::string> tokens;
    for (const auto& mailbox : mailboxes) {
        if (!tokens.empty())
            tokens.back() += ",";
        const auto own = mailboxTokens(mailbox);
        tokens.insert(tokens.end(), own.begin(), own.end());
    }
    return tokens;
}

std::string bodyPart(std::string_view body) {
    const bool quoted = needsQuotedPrintable(body);
    return "Content-Transfer-Encoding: " + std::string(quoted ? "quoted-printable" : "8bit") + "\r\n\r\n" +
           (quoted ? quotedPrintable(body) : std::string(body)) + "\r\n";
}

} // namespace

ComposedMail composeMail(const MailSettings& settings, std::string_view recipients, std::string_view body,
                         const MailStamp& stamp) {
    const Mailbox sender = senderOf(settings.returnAddress);
    checkAddress(sender.address);
    const std::vector<Mailbox> to = recipientsOf(recipients);
    ComposedMail mail{sender.address, {}, {}};
    for (const auto& mailbox : to)
        mail.envelopeRecipients.push_back(mailbox.address);
    const std::string headers[] = {
        headerLine("From", mailboxTokens(sender)),
        headerLine("To", recipientTokens(to)),
        headerLine("Subject", subjectTokens(settings.subject)),
        headerLine("Date", {mailDate(stamp.date)}),
        headerLine("Message-ID", {messageId(stamp.uniqueId, sender.address)}),
        "MIME-Version: 1.0",
        "Content-Type: text/plain; charset=Windows-1251",
    };
    for (const auto& header : headers)
        mail.data += header + "\r\n";
    mail.data += bodyPart(body);
    return mail;
}

} // namespace zorvant::watch
