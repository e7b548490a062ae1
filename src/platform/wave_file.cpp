#include "platform/wave_file.h"

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <array>
#include <fstream>
#include <string>

namespace zorvant::platform {
using namespace text::literals;

void checkWaveFile(std::string_view name) {
    std::ifstream in;
    if (plainFileExists(name))
        in.open(nativePath(name), std::ios::binary);
    if (!in.is_open())
        throw Error(std::string("Не удаётся открыть звуковой файл "_cp) + std::string(name));
    // "RIFF", the chunk size, "WAVE".
    std::array<char, 12> head{};
    in.read(head.data(), head.size());
    const std::string_view bytes(head.data(), static_cast<std::size_t>(in.gcount()));
    if (bytes.size() < head.size() || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        throw Error(std::string("Файл не является звуковым файлом WAV: "_cp) + std::string(name));
}

} // namespace zorvant::platform
