#pragma once
#include <string_view>

namespace zorvant::platform {

// Throws zorvant::Error, in words for the user, when the file cannot be opened or is not a RIFF WAVE
// sound, so that a sound which cannot play is reported instead of failing unseen inside the player.
void requireWaveFile(std::string_view name);

} // namespace zorvant::platform
