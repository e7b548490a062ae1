#include "watch/header_encoding.h"

#include <algorithm>

namespace zorvant::watch {
namespace {

constexpr std::string_view kWordStart = "=?windows-1251?B?";
constexpr std::string_view kWordEnd = "?=";
// A header line that holds encoded words may have 76 characters (RFC 2047); 36 bytes make a word of 67,
// which fits after "Subject: " and after the blank of a folded line.
constexpr std::size_t kBytesPerWord = 36;
constexpr std::size_t kFoldAt = 76;

bool isControl(unsigned char c) {
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

std::string quotedString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::vector<std::string> splitAtBlanks(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t blank = text.find(' '); blank != std::string_view::npos; blank = text.find(' ', start)) {
        words.emplace_back(text.substr(start, blank - start));
        start = blank + 1;
    }
    words.emplace_back(text.substr(start));
    return words;
}

} // namespace

std::string base64(std::string_view bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (std::size_t k = 0; k < 3; ++k)
            value = (value << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kDigits[(value >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

bool needsEncoding(std::string_view word) {
    const bool special = std::any_of(word.begin(), word.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || isControl(byte);
    });
    return special || word.find("=?") != std::string_view::npos;
}

std::vector<std::string> encodedWords(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < text.size(); i += kBytesPerWord)
        words.push_back(std::string(kWordStart) + base64(text.substr(i, kBytesPerWord)) +
                        std::string(kWordEnd));
    return words;
}

std::vector<std::string> subjectTokens(std::string_view subject) {
    std::vector<std::string> tokens;
    std::string run;
    bool inRun = false;
    const auto flush = [&] {
        const auto words = encodedWords(run);
        tokens.insert(tokens.end(), words.begin(), words.end());
        run.clear();
        inRun = false;
    };
    for (const auto& word : splitAtBlanks(subject)) {
        // Blanks between encoded words vanish when read, so the run keeps them inside its own text.
        if (needsEncoding(word) || (inRun && word.empty())) {
            run += inRun ? " " + word : word;
            inRun = true;
            continue;
        }
        if (inRun)
            flush();
        tokens.push_back(word);
    }
    if (inRun)
        flush();
    return tokens;
}

std::vector<std::string> mailboxTokens(const Mailbox& mailbox) {
    if (mailbox.name.empty() || mailbox.name == mailbox.address)
        return {mailbox.address};
    std::vector<std::string> tokens =
        needsEncoding(mailbox.name) ? encodedWords(mailbox.name) : std::vector{quotedString(mailbox.name)};
    tokens.push_back("<" + mailbox.address + ">");
    return tokens;
}

std::string headerLine(std::string_view name, const std::vector<std::string>& tokens) {
    std::string out = std::string(name) + ":";
    std::size_t lineLength = out.size();
    bool first = true;
    for (const auto& token : tokens) {
        if (!first && !token.empty() && lineLength + 1 + token.size() > kFoldAt) {
            out += "\r\n";
            lineLength = 0;
        }
        out += " " + token;
        lineLength += 1 + token.size();
        first = false;
    }
    return out;
}

} // namespace zorvant::watch
