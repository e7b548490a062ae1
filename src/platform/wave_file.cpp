#include "platform/wave_file.h"

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <array>
#include <fstream>

namespace zorvant::platform {
using namespace text::literals;

void requireWaveFile(std::string_view name) {
    std::ifstream in(nativePath(name), std::ios::binary);
    if (!in)
        throw Error(std::string("Не удаётся открыть звуковой файл "_cp) + std::string(name));
    std::array<char, 12> head{};
    in.read(head.data(), head.size());
    const std::string_view bytes(head.data(), static_cast<std::size_t>(in.gcount()));
    if (bytes.size() < head.size() || !bytes.starts_with("RIFF") || bytes.substr(8, 4) != "WAVE")
        throw Error(std::string("Файл "_cp) + std::string(name) + std::string(" не является звуком WAV"_cp));
}

} // namespace zorvant::platform
