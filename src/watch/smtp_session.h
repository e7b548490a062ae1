#pragma once
// One libcurl SMTP exchange: the handle, its settings and what was said. Internal to the SMTP sender.
// Every wait is bounded: connecting, TLS, the greeting, the introduction and the login by the connect
// time, each reply after that by the reply time, the whole by the exchange time, and QUIT by its own
// short time. A stop request ends the exchange within a second or so.
#include "watch/smtp_endpoint.h"
#include "watch/smtp_sender.h"
#include "watch/smtp_transcript.h"

#include <chrono>
#include <curl/curl.h>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

class SmtpSession {
public:
    // requireTls: the exchange goes on only over TLS (SMTPS, or STARTTLS that the server must accept).
    SmtpSession(const SmtpEndpoint& endpoint, const SmtpOptions& options, bool requireTls);
    ~SmtpSession();
    SmtpSession(const SmtpSession&) = delete;
    SmtpSession& operator=(const SmtpSession&) = delete;

    void logIn(std::string_view user, std::string_view password);
    // A recipient the server refuses does not stop the others.
    void setEnvelope(std::string_view sender, const std::vector<std::string>& recipients);
    void setUpload(std::string_view data);
    // Greeting and introduction, then this one command instead of a mail.
    void setCommand(std::string_view command);

    // Runs the exchange and says QUIT; CURLE_ABORTED_BY_CALLBACK when stopped.
    CURLcode perform(std::stop_token stop);
    // libcurl's own description of the failure.
    std::string curlError(CURLcode code) const;
    const SmtpTranscript& transcript() const { return transcript_; }

private:
    static std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* self);
    static std::size_t discard(char* buffer, std::size_t size, std::size_t count, void* self);
    static int progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int record(CURL*, curl_infotype type, char* data, std::size_t size, void* self);
    static int opened(void* self, curl_socket_t socket, curlsocktype purpose);
    static int closed(void* self, curl_socket_t socket);
    void cutConnections();

    CURL* curl_;
    curl_slist* recipients_ = nullptr;
    char errors_[CURL_ERROR_SIZE] = {};
    std::string upload_;
    std::size_t uploaded_ = 0;
    SmtpTranscript transcript_;
    std::stop_token stop_;
    std::chrono::seconds quitTime_;
    std::chrono::steady_clock::time_point quitSent_;
    // The connections libcurl has open, so that a stop can end them from another thread.
    std::mutex sockets_;
    std::vector<curl_socket_t> open_;
    bool cut_ = false;
};

} // namespace zorvant::watch
