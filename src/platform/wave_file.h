#pragma once
// The check a sound file must pass before it is handed to the system's player, which would otherwise
// fail silently (or play the default sound) on a file it cannot use.
#include <string_view>

namespace zorvant::platform {

// Throws zorvant::Error naming the file when it cannot be opened or is not a RIFF WAVE file.
void checkWaveFile(std::string_view name);

} // namespace zorvant::platform
