#pragma once
#include <cstdint>
#include <string>

namespace zorvant::testing {

// A real WAV file: a tenth of a second of 8-bit mono silence at 8 kHz.
inline std::string silentWave() {
    const auto le16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
    };
    const auto le32 = [&](std::uint32_t v) {
        return le16(static_cast<std::uint16_t>(v)) + le16(static_cast<std::uint16_t>(v >> 16));
    };
    const std::string format = le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8);
    const std::string body = "WAVEfmt " + le32(16) + format + "data" + le32(800) + std::string(800, '\x80');
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

} // namespace zorvant::testing
