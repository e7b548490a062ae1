#include "watch/smtp_sender.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "watch/mail_message.h"
#include "watch/smtp_session.h"

namespace zorvant::watch {
using namespace text::literals;

namespace {

std::string_view reasonOf(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "сервер не найден"_cp;
    case CURLE_COULDNT_CONNECT:
        return "сервер не принимает соединение"_cp;
    case CURLE_OPERATION_TIMEDOUT:
        return "сервер не ответил вовремя"_cp;
    case CURLE_LOGIN_DENIED:
        return "сервер отклонил имя пользователя или пароль"_cp;
    case CURLE_PEER_FAILED_VERIFICATION:
        return "сертификат сервера не прошёл проверку"_cp;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_USE_SSL_FAILED:
        return "не удалось установить защищённое соединение"_cp;
    case CURLE_SEND_ERROR:
        return "сервер не принял письмо"_cp;
    default:
        return "ошибка обмена с сервером"_cp;
    }
}

// Server replies are ASCII as a rule; a UTF-8 one is shown in the program's code page.
std::string replyText(const std::string& reply) {
    return text::fromUtf8(reply);
}

[[noreturn]] void fail(const SmtpEndpoint& endpoint, const SmtpSession& session, CURLcode code) {
    std::string message = std::string("Не удалось отправить письмо через почтовый сервер "_cp) +
                          endpoint.host + ":" + std::to_string(endpoint.port) + ": " +
                          std::string(reasonOf(code)) + " (" + session.curlError(code) + ")";
    if (!session.serverRefusal().empty())
        message += std::string(". Ответ сервера: "_cp) + replyText(session.serverRefusal());
    throw Error(message.ends_with('.') ? message : message + ".");
}

} // namespace

SmtpMailSender::SmtpMailSender(SmtpOptions options) : options_(std::move(options)) {}

void SmtpMailSender::send(const MailSettings& settings, std::string_view recipients, std::string_view body) {
    const SmtpEndpoint endpoint = parseSmtpEndpoint(settings.host);
    const ComposedMail mail = composeMail(settings, recipients, body, newMailStamp());
    SmtpSession session(endpoint, options_);
    if (settings.authenticate)
        session.logIn(settings.login, settings.password);
    session.setEnvelope(mail.envelopeSender, mail.envelopeRecipients);
    session.setUpload(mail.data);
    if (const CURLcode code = session.perform(); code != CURLE_OK)
        fail(endpoint, session, code);
}

bool SmtpMailSender::testConnection(const MailSettings& settings) {
    try {
        SmtpSession session(parseSmtpEndpoint(settings.host), options_);
        session.setCommand("NOOP");
        return session.perform() == CURLE_OK;
    } catch (const Error&) {
        return false;
    }
}

} // namespace zorvant::watch
