#pragma once
// One libcurl SMTP exchange: the handle, its settings and what the server answered. Internal to the
// SMTP sender.
#include "watch/smtp_endpoint.h"
#include "watch/smtp_sender.h"

#include <curl/curl.h>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

class SmtpSession {
public:
    SmtpSession(const SmtpEndpoint& endpoint, const SmtpOptions& options);
    ~SmtpSession();
    SmtpSession(const SmtpSession&) = delete;
    SmtpSession& operator=(const SmtpSession&) = delete;

    void logIn(std::string_view user, std::string_view password);
    void setEnvelope(std::string_view sender, const std::vector<std::string>& recipients);
    void setUpload(std::string_view data);
    // Greeting and introduction, then this one command instead of a mail.
    void setCommand(std::string_view command);

    // Runs the exchange; libcurl says QUIT when the session ends.
    CURLcode perform();
    // libcurl's own description of the failure.
    std::string curlError(CURLcode code) const;
    // The server's last refusal (a 4xx or 5xx reply); empty when it refused nothing.
    const std::string& serverRefusal() const { return lastRefusal_; }

private:
    static std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* self);
    static std::size_t keepReply(char* buffer, std::size_t size, std::size_t count, void* self);
    static std::size_t discard(char* buffer, std::size_t size, std::size_t count, void* self);

    CURL* curl_;
    curl_slist* recipients_ = nullptr;
    char errors_[CURL_ERROR_SIZE] = {};
    std::string upload_;
    std::size_t uploaded_ = 0;
    std::string lastRefusal_;
};

} // namespace zorvant::watch
