#include "platform/wave_file.h"

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <cstdint>
#include <fstream>

namespace zorvant::platform {
using namespace text::literals;

namespace {

// Chunks before the sound data (format, lists, cues) are few; a file with more is taken as damaged.
constexpr int kMostChunks = 64;

std::uint32_t little(const char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

bool playableFormat(const char (&format)[16]) {
    const auto field = [&](int offset, int count) { return little(format + offset, count); };
    return field(0, 2) != 0 && field(2, 2) != 0 && field(4, 4) != 0 && field(12, 2) != 0 && field(14, 2) != 0;
}

} // namespace

bool holdsWaveSound(std::istream& in) {
    char head[12];
    if (!in.read(head, sizeof head) || std::string_view(head, 4) != "RIFF" ||
        std::string_view(head + 8, 4) != "WAVE")
        return false;
    bool format = false;
    for (int chunk = 0; chunk < kMostChunks; ++chunk) {
        char header[8];
        if (!in.read(header, sizeof header))
            return false;
        const std::string_view id(header, 4);
        std::uint64_t skip = little(header + 4, 4);
        if (id == "data")
            return format;
        if (id == "fmt ") {
            char fields[16];
            if (skip < sizeof fields || !in.read(fields, sizeof fields) || !playableFormat(fields))
                return false;
            format = true;
            skip -= sizeof fields;
        }
        skip += little(header + 4, 4) & 1; // chunks are padded to an even length
        if (!in.seekg(static_cast<std::streamoff>(skip), std::ios::cur))
            return false;
    }
    return false;
}

void requireWaveFile(std::string_view name) {
    // A folder is refused before it is opened: some C runtimes open one as an empty file.
    std::ifstream in;
    if (plainFileExists(name))
        in.open(nativePath(name), std::ios::binary);
    if (!in.is_open())
        throw Error(std::string("Не удаётся открыть звуковой файл "_cp) + std::string(name));
    if (!holdsWaveSound(in))
        throw Error(std::string("Файл "_cp) + std::string(name) + std::string(" не является звуком WAV"_cp));
}

} // namespace zorvant::platform
