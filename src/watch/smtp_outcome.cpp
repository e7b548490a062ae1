#include "watch/smtp_outcome.h"

#include "text/cp1251.h"

#include <algorithm>

namespace zorvant::watch {
using namespace text::literals;

namespace {
using Kind = DeliveryOutcome::Kind;
using Refusal = SmtpTranscript::Refusal;

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

std::string serverName(const SmtpEndpoint& endpoint) {
    return endpoint.host + ":" + std::to_string(endpoint.port);
}

std::string sentence(std::string text) {
    return text.ends_with('.') ? text : text + ".";
}

DeliveryOutcome retry(const SmtpEndpoint& endpoint, const SmtpEnding& ending) {
    std::string message = std::string("Не удалось отправить письмо через почтовый сервер "_cp) +
                          serverName(endpoint) + ": " + std::string(reasonOf(ending.code)) + " (" +
                          ending.curlError + ")";
    if (const auto& refusals = ending.transcript.refusals(); !refusals.empty())
        message += std::string(". Ответ сервера: "_cp) + replyText(refusals.back().reply);
    return {Kind::RetryLater, sentence(message) + std::string(" Письмо будет отправлено позже."_cp)};
}

DeliveryOutcome setAside(const SmtpEndpoint& endpoint, const std::string& what) {
    return {Kind::SetAside, std::string("Почтовый сервер "_cp) + serverName(endpoint) + " " + sentence(what)};
}

std::string answered(std::string_view what, const Refusal& refusal) {
    return std::string(what) + std::string(". Ответ сервера: "_cp) + replyText(refusal.reply);
}

std::string recipientList(const std::vector<Refusal>& refused) {
    std::string list;
    for (const auto& refusal : refused)
        list += (list.empty() ? "" : ", ") + refusal.argument + " (" + replyText(refusal.reply) + ")";
    return list;
}

} // namespace

DeliveryOutcome smtpOutcome(const SmtpEndpoint& endpoint, const SmtpEnding& ending) {
    const auto refusedRecipients = ending.transcript.refusedRecipients();
    if (ending.code == CURLE_OK) {
        if (refusedRecipients.empty())
            return {Kind::Delivered};
        return {Kind::DeliveredWithRefusals,
                std::string("Письмо доставлено не всем получателям: почтовый сервер "_cp) +
                    serverName(endpoint) + std::string(" не принял адреса "_cp) +
                    recipientList(refusedRecipients) + "."};
    }
    if (ending.code == CURLE_USE_SSL_FAILED && ending.loggingIn)
        return {
            Kind::RetryLater,
            std::string("Почтовый сервер "_cp) + serverName(endpoint) +
                std::string(" не предлагает защищённое соединение (STARTTLS), а имя пользователя и пароль "
                            "передаются только по нему. Письмо не отправлено и будет отправлено, когда "
                            "сервер или настройки почты (порт 465 для SMTPS) это позволят."_cp)};
    const auto& refusals = ending.transcript.refusals();
    if (refusals.empty())
        return retry(endpoint, ending);
    const Refusal& last = refusals.back();
    if (last.command == "AUTH" && last.permanent())
        return setAside(endpoint, answered("отклонил имя пользователя или пароль"_cp, last));
    if (last.command == "RCPT") {
        const std::string refused =
            std::string("не принял ни одного получателя письма: "_cp) + recipientList(refusedRecipients);
        const bool allPermanent = std::all_of(refusedRecipients.begin(), refusedRecipients.end(),
                                              [](const Refusal& r) { return r.permanent(); });
        if (allPermanent)
            return setAside(endpoint, refused);
        return {Kind::RetryLater, std::string("Почтовый сервер "_cp) + serverName(endpoint) + " " + refused +
                                      std::string(". Письмо будет отправлено позже."_cp)};
    }
    if ((last.command == "MAIL" || last.command == "DATA") && last.permanent())
        return setAside(endpoint, answered("отказался принять письмо"_cp, last));
    return retry(endpoint, ending);
}

} // namespace zorvant::watch
