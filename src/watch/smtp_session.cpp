#include "watch/smtp_session.h"

#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace zorvant::watch {
using namespace text::literals;

namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return std::string(line);
}

} // namespace

SmtpSession::SmtpSession(const SmtpEndpoint& endpoint, const SmtpOptions& options) {
    initialiseCurlOnce();
    curl_ = curl_easy_init();
    if (curl_ == nullptr)
        throw Error(std::string("Не удалось запустить почтовый клиент libcurl."_cp));
    curl_easy_setopt(curl_, CURLOPT_URL, endpoint.url().c_str());
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errors_);
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    curl_easy_setopt(curl_, CURLOPT_TIMEOUT, options.transferTimeoutSeconds);
    // STARTTLS whenever the server offers it, and the certificate is checked either way.
    if (!endpoint.implicitTls())
        curl_easy_setopt(curl_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty())
        curl_easy_setopt(curl_, CURLOPT_CAINFO, options.caFile.c_str());
    curl_easy_setopt(curl_, CURLOPT_HEADERFUNCTION, &SmtpSession::keepReply);
    curl_easy_setopt(curl_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &SmtpSession::discard);
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

CURLcode SmtpSession::perform() {
    errors_[0] = '\0';
    return curl_easy_perform(curl_);
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

std::size_t SmtpSession::keepReply(char* buffer, std::size_t size, std::size_t count, void* self) {
    auto& session = *static_cast<SmtpSession*>(self);
    const std::string reply = withoutLineEnd({buffer, size * count});
    if (!reply.empty() && (reply[0] == '4' || reply[0] == '5'))
        session.lastRefusal_ = reply;
    return size * count;
}

std::size_t SmtpSession::discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

} // namespace zorvant::watch
