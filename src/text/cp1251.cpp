#include "text/cp1251.h"

namespace zorvant::text {

std::string toUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = byte < 0x80 ? byte : detail::kHighHalf[byte - 0x80];
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        pos += detail::decodeUtf8(utf8, pos, cp);
        out += detail::encodeCodePoint(cp);
    }
    return out;
}

std::optional<char32_t> firstUnrepresentable(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        pos += detail::decodeUtf8(utf8, pos, cp);
        if (cp != U'?' && detail::encodeCodePoint(cp) == '?')
            return cp;
    }
    return std::nullopt;
}

std::optional<std::string_view> unicodeEncodingOf(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return "UTF-16";
    bool beyondAscii = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t cp = 0;
        pos += detail::decodeUtf8(bytes, pos, cp);
        if (cp == detail::kInvalid)
            return std::nullopt;
        beyondAscii = beyondAscii || cp >= 0x80;
    }
    if (beyondAscii)
        return "UTF-8";
    return std::nullopt;
}

} // namespace zorvant::text
