#pragma once
// Whole-file reads and safe writes. A safe write puts the bytes into a temporary file beside the target
// and renames it over the target, so a failed write (full disk, crash) leaves the old file as it was.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorvant::text {

enum class FileAccess { Shared, OwnerOnly };

// Returns the file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Appends the bytes to the end of the file in one write, creating it when it is missing. Returns an
// empty text on success, otherwise the system's reason (UTF-8).
std::string appendToFile(const std::filesystem::path& target, std::string_view bytes);

// Returns an empty text on success, otherwise the system's reason (UTF-8); the target is then unchanged.
std::string writeFileSafely(const std::filesystem::path& target, std::string_view bytes,
                            FileAccess access = FileAccess::Shared);

} // namespace zorvant::text
