#include "watch/smtp_endpoint.h"

#include "text/cp1251.h"
#include "text/error.h"

#include <algorithm>

namespace zorvant::watch {
using namespace text::literals;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHostNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '.' || c == '-' || c == '_';
}

bool isAddressV6Char(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
}

[[noreturn]] void refuse(std::string_view mailhost) {
    throw Error(std::string("Недопустимое имя почтового сервера: \""_cp) + std::string(mailhost) + "\".");
}

int portOf(std::string_view digits, std::string_view mailhost) {
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), isDigit))
        refuse(mailhost);
    const int port = std::stoi(std::string(digits));
    if (port < 1 || port > 65535)
        refuse(mailhost);
    return port;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string SmtpEndpoint::url() const {
    return (implicitTls() ? "smtps://" : "smtp://") + host + ":" + std::to_string(port);
}

SmtpEndpoint parseSmtpEndpoint(std::string_view mailhost) {
    const std::string_view text = trimmed(mailhost);
    if (text.empty())
        throw Error(std::string("Не указан почтовый сервер."_cp));
    std::string_view host = text;
    std::string_view rest;
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos || close == 1 ||
            !std::all_of(text.begin() + 1, text.begin() + close, isAddressV6Char))
            refuse(mailhost);
        host = text.substr(0, close + 1);
        rest = text.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            refuse(mailhost);
    } else {
        const auto colon = text.find(':');
        host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
        if (host.empty() || !std::all_of(host.begin(), host.end(), isHostNameChar))
            refuse(mailhost);
    }
    SmtpEndpoint endpoint{std::string(host)};
    if (!rest.empty())
        endpoint.port = portOf(rest.substr(1), mailhost);
    return endpoint;
}

} // namespace zorvant::watch
