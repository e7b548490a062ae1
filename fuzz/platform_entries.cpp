// The check that a sound file is a WAV the player can open.
#include "entries.h"

#include "platform/wave_file.h"

#include <sstream>

namespace zorvant::fuzz {

void waveHeader(std::string_view bytes) {
    std::istringstream in{std::string(bytes)};
    const bool playable = platform::holdsWaveSound(in);
    check(!playable || (bytes.starts_with("RIFF") && bytes.find("fmt ") != std::string_view::npos &&
                        bytes.find("data") != std::string_view::npos),
          "a file without a format and a data chunk taken for a sound");
    keep(playable ? 1 : 0);
}

} // namespace zorvant::fuzz
