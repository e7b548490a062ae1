#pragma once
// Windows-1251, the only code page the program keeps text in. Inside the core every std::string holds
// Windows-1251 bytes; UTF-8 appears only at the edges (widgets, console, Linux file names).
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zorvant::text {

namespace detail {

// Unicode code points of the bytes 0x80 to 0xFF. 0x98 has no character in the code page; it maps to
// U+0098 so that every byte value survives a round trip through UTF-8, as Windows itself does.
inline constexpr std::array<char32_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at pos; returns its length. A malformed sequence yields kInvalid, length 1.
constexpr std::size_t decodeUtf8(std::string_view s, std::size_t pos, char32_t& cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || pos + length > s.size()) {
        cp = kInvalid;
        return 1;
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            cp = kInvalid;
            return 1;
        }
        value = (value << 6) | (byte(pos + i) & 0x3F);
    }
    cp = value;
    return length;
}

// The Windows-1251 byte of a code point, or '?' when the code page has no such character.
constexpr char encodeCodePoint(char32_t cp) {
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

template <std::size_t N> struct Cp1251Array {
    char data[N]{};
    std::size_t size = 0;
    constexpr std::string_view view() const { return {data, size}; }
};

} // namespace detail

// Compile-time conversion of a UTF-8 array (a string literal) to Windows-1251.
template <std::size_t N> consteval detail::Cp1251Array<N> toCp1251Array(const char (&utf8)[N]) {
    detail::Cp1251Array<N> out;
    const std::string_view source(utf8, N - 1);
    for (std::size_t pos = 0; pos < source.size();) {
        char32_t cp = 0;
        pos += detail::decodeUtf8(source, pos, cp);
        out.data[out.size++] = detail::encodeCodePoint(cp);
    }
    return out;
}

std::string toUtf8(std::string_view cp1251);
// Characters that Windows-1251 lacks, and malformed UTF-8, become "?".
std::string fromUtf8(std::string_view utf8);

// The first character of UTF-8 text that Windows-1251 cannot hold (so fromUtf8 would make it "?"), or
// nothing when every character fits.
std::optional<char32_t> firstUnrepresentable(std::string_view utf8);

// "UTF-8" or "UTF-16" when the bytes of a file that should be Windows-1251 carry a byte-order mark or
// are UTF-8 with characters beyond ASCII; nothing otherwise. Windows-1251 text with Cyrillic letters is
// practically never valid UTF-8.
std::optional<std::string_view> unicodeEncodingOf(std::string_view bytes);

namespace detail {
template <std::size_t N> struct Utf8Literal {
    char data[N]{};
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            data[i] = s[i];
    }
};
template <Utf8Literal S> inline constexpr auto kConverted = toCp1251Array(S.data);
} // namespace detail

inline namespace literals {
// "Текст"_cp is the Windows-1251 form of a UTF-8 source literal, converted by the compiler.
template <detail::Utf8Literal S> constexpr std::string_view operator""_cp() {
    return detail::kConverted<S>.view();
}
} // namespace literals

} // namespace zorvant::text
