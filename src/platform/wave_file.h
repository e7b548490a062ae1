#pragma once
#include <istream>
#include <string_view>

namespace zorvant::platform {

// Throws zorvant::Error, in words for the user, when the file cannot be opened or is not a RIFF WAVE
// sound, so that a sound which cannot play is reported instead of failing unseen inside the player.
void requireWaveFile(std::string_view name);

// True when the bytes are a RIFF WAVE sound a player can open: a "fmt " chunk whose format, channels,
// rate, block size and sample size are not zero, followed by a "data" chunk.
bool holdsWaveSound(std::istream& in);

} // namespace zorvant::platform
