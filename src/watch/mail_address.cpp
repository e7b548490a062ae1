#include "watch/mail_address.h"

namespace zorvant::watch {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Positions of the characters that stand outside double quotes, with backslash escapes inside quotes.
template <typename Visit> void forEachUnquoted(std::string_view text, Visit visit) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '\\')
            ++i;
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && !visit(i, c))
            return;
    }
}

std::size_t lastUnquoted(std::string_view text, char wanted) {
    std::size_t found = std::string_view::npos;
    forEachUnquoted(text, [&](std::size_t i, char c) {
        if (c == wanted)
            found = i;
        return true;
    });
    return found;
}

std::size_t firstUnquoted(std::string_view text, char wanted) {
    std::size_t found = std::string_view::npos;
    forEachUnquoted(text, [&](std::size_t i, char c) {
        if (c != wanted)
            return true;
        found = i;
        return false;
    });
    return found;
}

std::string unquoted(std::string_view name) {
    if (name.size() < 2 || name.front() != '"' || name.back() != '"')
        return std::string(name);
    std::string out;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        if (name[i] == '\\' && i + 2 < name.size())
            ++i;
        out += name[i];
    }
    return out;
}

} // namespace

Mailbox parseMailbox(std::string_view text) {
    text = trimmed(text);
    const std::size_t open = lastUnquoted(text, '<');
    if (open != std::string_view::npos) {
        const std::size_t close = text.find('>', open);
        if (close != std::string_view::npos)
            return {unquoted(trimmed(text.substr(0, open))),
                    std::string(trimmed(text.substr(open + 1, close - open - 1)))};
    }
    const std::size_t paren = firstUnquoted(text, '(');
    if (paren != std::string_view::npos) {
        const std::size_t close = text.rfind(')');
        const std::size_t end = close != std::string_view::npos && close > paren ? close : text.size();
        return {std::string(trimmed(text.substr(paren + 1, end - paren - 1))),
                std::string(trimmed(text.substr(0, paren)))};
    }
    return {{}, std::string(text)};
}

std::vector<std::string> splitMailboxList(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    const auto take = [&](std::size_t end) {
        const std::string_view part = trimmed(text.substr(start, end - start));
        if (!part.empty())
            parts.emplace_back(part);
        start = end + 1;
    };
    forEachUnquoted(text, [&](std::size_t i, char c) {
        if (c == ',')
            take(i);
        return true;
    });
    take(text.size());
    return parts;
}

Mailbox senderOf(std::string_view returnAddress) {
    return {std::string(returnAddress), parseMailbox(returnAddress).address};
}

} // namespace zorvant::watch
