#include "watch/smtp_session.h"

#include "platform/sockets.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "watch/curl_global.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace zorvant::watch {
using namespace text::literals;

namespace {

// How often the exchange looks for a stop request while it waits on the network.
constexpr int kLookMs = 100;

long secondsOf(std::chrono::seconds time) {
    return static_cast<long>(time.count());
}

} // namespace

SmtpSession::SmtpSession(const SmtpEndpoint& endpoint, const SmtpOptions& options, bool requireTls)
    : quitTime_(options.quit) {
    initialiseCurlOnce();
    curl_ = curl_easy_init();
    if (curl_ == nullptr)
        throw Error(std::string("Не удалось запустить почтовый клиент libcurl."_cp));
    curl_easy_setopt(curl_, CURLOPT_URL, endpoint.url().c_str());
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errors_);
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, secondsOf(options.connect));
    curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, secondsOf(options.reply));
    curl_easy_setopt(curl_, CURLOPT_TIMEOUT, secondsOf(options.exchange));
    // The connection ends with its exchange, so that QUIT is said here, where its wait is bounded, and
    // not later when the handle is cleaned up.
    curl_easy_setopt(curl_, CURLOPT_FORBID_REUSE, 1L);
    if (!endpoint.implicitTls())
        curl_easy_setopt(curl_, CURLOPT_USE_SSL,
                         static_cast<long>(requireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty())
        curl_easy_setopt(curl_, CURLOPT_CAINFO, options.caFile.c_str());
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &SmtpSession::discard);
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &SmtpSession::progress);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
    // The lines sent and received reach the transcript through libcurl's verbose record.
    curl_easy_setopt(curl_, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl_, CURLOPT_DEBUGFUNCTION, &SmtpSession::record);
    curl_easy_setopt(curl_, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl_, CURLOPT_SOCKOPTFUNCTION, &SmtpSession::opened);
    curl_easy_setopt(curl_, CURLOPT_SOCKOPTDATA, this);
    curl_easy_setopt(curl_, CURLOPT_CLOSESOCKETFUNCTION, &SmtpSession::closed);
    curl_easy_setopt(curl_, CURLOPT_CLOSESOCKETDATA, this);
}

SmtpSession::~SmtpSession() {
    curl_easy_cleanup(curl_);
    curl_slist_free_all(recipients_);
}

void SmtpSession::logIn(std::string_view user, std::string_view password) {
    curl_easy_setopt(curl_, CURLOPT_USERNAME, std::string(user).c_str());
    curl_easy_setopt(curl_, CURLOPT_PASSWORD, std::string(password).c_str());
    curl_easy_setopt(curl_, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
}

void SmtpSession::setEnvelope(std::string_view sender, const std::vector<std::string>& recipients) {
    curl_easy_setopt(curl_, CURLOPT_MAIL_FROM, ("<" + std::string(sender) + ">").c_str());
    for (const auto& recipient : recipients)
        recipients_ = curl_slist_append(recipients_, ("<" + recipient + ">").c_str());
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, recipients_);
#if LIBCURL_VERSION_NUM >= 0x080200
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT_ALLOWFAILS, 1L);
#else
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
#endif
}

void SmtpSession::setUpload(std::string_view data) {
    upload_ = std::string(data);
    uploaded_ = 0;
    curl_easy_setopt(curl_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl_, CURLOPT_READFUNCTION, &SmtpSession::readUpload);
    curl_easy_setopt(curl_, CURLOPT_READDATA, this);
    curl_easy_setopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload_.size()));
}

void SmtpSession::setCommand(std::string_view command) {
    curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, std::string(command).c_str());
}

// Driven step by step rather than by curl_easy_perform, so that a stop request is seen while libcurl
// waits for the server; where libcurl itself blocks (the reply after the message, QUIT), the stop ends
// the connection under it.
CURLcode SmtpSession::perform(std::stop_token stop) {
    stop_ = std::move(stop);
    const std::stop_callback cut(stop_, [this] { cutConnections(); });
    errors_[0] = '\0';
    CURLM* multi = curl_multi_init();
    if (multi == nullptr)
        return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi, curl_);
    CURLcode result = CURLE_OK;
    for (int running = 1;;) {
        if (stop_.stop_requested()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_SEND_ERROR;
            break;
        }
        if (running == 0) {
            int left = 0;
            const CURLMsg* message = curl_multi_info_read(multi, &left);
            result =
                message != nullptr && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, kLookMs, nullptr);
    }
    curl_multi_remove_handle(multi, curl_);
    curl_multi_cleanup(multi);
    return result;
}

std::string SmtpSession::curlError(CURLcode code) const {
    return errors_[0] != '\0' ? std::string(errors_) : std::string(curl_easy_strerror(code));
}

std::size_t SmtpSession::readUpload(char* buffer, std::size_t size, std::size_t count, void* self) {
    auto& session = *static_cast<SmtpSession*>(self);
    const std::size_t n = std::min(size * count, session.upload_.size() - session.uploaded_);
    std::memcpy(buffer, session.upload_.data() + session.uploaded_, n);
    session.uploaded_ += n;
    return n;
}

std::size_t SmtpSession::discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

int SmtpSession::progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& session = *static_cast<const SmtpSession*>(self);
    const bool quitTooLong = session.transcript_.quitSent() &&
                             std::chrono::steady_clock::now() - session.quitSent_ > session.quitTime_;
    return session.stop_.stop_requested() || quitTooLong ? 1 : 0;
}

void SmtpSession::cutConnections() {
    const std::lock_guard lock(sockets_);
    cut_ = true;
    for (const curl_socket_t socket : open_)
        platform::shutDownSocket(static_cast<std::intptr_t>(socket));
}

int SmtpSession::opened(void* self, curl_socket_t socket, curlsocktype) {
    auto& session = *static_cast<SmtpSession*>(self);
    const std::lock_guard lock(session.sockets_);
    session.open_.push_back(socket);
    if (session.cut_)
        platform::shutDownSocket(static_cast<std::intptr_t>(socket));
    return CURL_SOCKOPT_OK;
}

int SmtpSession::closed(void* self, curl_socket_t socket) {
    auto& session = *static_cast<SmtpSession*>(self);
    const std::lock_guard lock(session.sockets_);
    std::erase(session.open_, socket);
    platform::closeSocket(static_cast<std::intptr_t>(socket));
    return 0;
}

int SmtpSession::record(CURL*, curl_infotype type, char* data, std::size_t size, void* self) {
    auto& session = *static_cast<SmtpSession*>(self);
    if (type == CURLINFO_HEADER_OUT) {
        const bool quitBefore = session.transcript_.quitSent();
        session.transcript_.sent({data, size});
        if (!quitBefore && session.transcript_.quitSent())
            session.quitSent_ = std::chrono::steady_clock::now();
    } else if (type == CURLINFO_HEADER_IN) {
        session.transcript_.received({data, size});
    }
    return 0;
}

} // namespace zorvant::watch
