#pragma once
// What became of a message, from how its SMTP exchange ended: libcurl's result and the server's
// refusals. Internal to the SMTP sender; texts are Windows-1251.
#include "watch/delivery_channel.h"
#include "watch/smtp_endpoint.h"
#include "watch/smtp_transcript.h"

#include <curl/curl.h>

namespace zorvant::watch {

struct SmtpEnding {
    CURLcode code;
    std::string curlError; // libcurl's own words
    const SmtpTranscript& transcript;
    bool loggingIn;
};

// Refused recipients are reported and the others served; a message the server refuses as a whole (5xx
// to MAIL, to every RCPT, to DATA or after the message) or a refused login is set aside; everything else
// (network, timeouts, TLS, 4xx replies) is tried again later.
DeliveryOutcome smtpOutcome(const SmtpEndpoint& endpoint, const SmtpEnding& ending);

} // namespace zorvant::watch
