#pragma once
// What makes each e-mail unique: its Date and Message-ID headers.
#include <chrono>
#include <string>
#include <string_view>

namespace zorvant::watch {

struct MailStamp {
    std::chrono::sys_seconds date;
    std::string uniqueId; // the part of the Message-ID before "@"
};

// The current time and an id that no other message of any run shares.
MailStamp newMailStamp();

// The date as RFC 5322 writes it, in UTC: "Tue, 08 Dec 2026 01:11:27 +0000".
std::string mailDate(std::chrono::sys_seconds date);

// "<id@domain>", the domain taken from the sender's address when it is a plain host name.
std::string messageId(std::string_view uniqueId, std::string_view senderAddress);

} // namespace zorvant::watch
