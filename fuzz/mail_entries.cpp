// The mail settings and a record's recipients as typed, through to the message the server receives.
#include "entries.h"

#include "text/error.h"
#include "watch/mail_address.h"
#include "watch/mail_message.h"
#include "watch/smtp_endpoint.h"

#include <algorithm>

namespace zorvant::fuzz {

namespace {

// The next field of the input; fields are separated by NUL bytes.
std::string_view field(std::string_view& bytes) {
    const auto end = std::min(bytes.find('\0'), bytes.size());
    const std::string_view value = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    return value;
}

// No control character: an address typed with Cyrillic letters stays 8-bit in the To line, which the
// server judges; what must never reach a header is a byte that ends or breaks the line.
bool isHeaderText(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 0x20 && byte != 0x7F) || c == '\t';
    });
}

// Every line ends with CR LF and stays within the 998 characters a mail line may hold, and every header
// line either starts a header or continues one.
void checkMessage(const std::string& data) {
    bool inHeader = true;
    std::size_t start = 0;
    while (start < data.size()) {
        const auto end = data.find("\r\n", start);
        check(end != std::string::npos, "the message does not end with CR LF");
        const std::string_view line(data.data() + start, end - start);
        check(line.find_first_of("\r\n") == std::string_view::npos, "a bare CR or LF in the message");
        check(line.size() <= 998, "a message line longer than 998 characters");
        if (inHeader && line.empty())
            inHeader = false;
        else if (inHeader) {
            check(isHeaderText(line), "a control character in a header line");
            check(line.front() == ' ' || line.front() == '\t' || line.find(": ") != std::string_view::npos,
                  "a header line that neither starts nor continues a header");
        }
        start = end + 2;
    }
    check(!inHeader, "the message has no body");
}

} // namespace

void mailComposer(std::string_view bytes) {
    watch::MailSettings settings;
    settings.returnAddress = field(bytes);
    settings.subject = field(bytes);
    const std::string_view recipients = field(bytes);
    const std::string_view body = bytes;
    const watch::MailStamp stamp{std::chrono::sys_seconds(std::chrono::seconds(1'765'000'000)), "id1"};
    for (const auto& part : watch::splitMailboxList(recipients)) {
        const auto mailbox = watch::parseMailbox(part);
        check(mailbox.address.find(',') == std::string::npos || part.find('"') != std::string::npos,
              "an unquoted comma inside one recipient");
        keep(mailbox.address.size());
    }
    watch::ComposedMail mail;
    try {
        mail = watch::composeMail(settings, recipients, body, stamp);
    } catch (const Error&) {
        return;
    }
    mail.envelopeRecipients.push_back(mail.envelopeSender);
    for (const auto& address : mail.envelopeRecipients)
        check(address.find_first_of("\r\n<>") == std::string::npos,
              "an address that would break the SMTP command");
    checkMessage(mail.data);
}

void smtpEndpoint(std::string_view bytes) {
    watch::SmtpEndpoint endpoint;
    try {
        endpoint = watch::parseSmtpEndpoint(bytes);
    } catch (const Error&) {
        return;
    }
    check(!endpoint.host.empty(), "an empty host was accepted");
    check(endpoint.port >= 1 && endpoint.port <= 65535, "a port outside 1 to 65535");
    check(endpoint.host.find_first_of("/?#@ \t\r\n") == std::string::npos,
          "the host holds a character that changes the server's URL");
    const auto back = watch::parseSmtpEndpoint(endpoint.host + ":" + std::to_string(endpoint.port));
    check(back.host == endpoint.host && back.port == endpoint.port, "host and port do not read back");
    keep(endpoint.url().size());
}

} // namespace zorvant::fuzz
