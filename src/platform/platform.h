#pragma once
// What the operating system does for the program. Every name is Windows-1251 text; it is converted to
// the system's own form (UTF-8 on Linux, UTF-16 on Windows) only here.
#include <filesystem>
#include <string>
#include <string_view>

namespace zorvant::platform {

// Windows also takes "/" between folders.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

std::filesystem::path nativePath(std::string_view name);
std::string fromNativePath(const std::filesystem::path& path);

// The folder of the executable, ending with the path separator.
std::string programFolder();

// The decimal separator of the user's locale.
char decimalSeparator();

// True only for an existing plain file; a directory does not count, an empty name never exists.
bool plainFileExists(std::string_view name);
bool deleteFile(std::string_view name);
bool copyFileReplacing(std::string_view from, std::string_view to);
// Renames, never replacing an existing file: false when to exists (or the rename fails otherwise).
bool renameFile(std::string_view from, std::string_view to);
// Creates one folder whose parent exists; false when it exists already or cannot be made.
bool createFolder(std::string_view name);

// Throws zorvant::Error naming the file when it cannot be opened or read.
std::string readFile(std::string_view name);

// Appends the bytes to the file, creating it when missing; throws zorvant::Error naming the file.
void appendFile(std::string_view name, std::string_view bytes);

enum class Privacy { Shared, OwnerOnly };
// Writes safely (temporary file, then rename); throws zorvant::Error naming the file on failure, and the
// old file then stays as it was.
void writeFile(std::string_view name, std::string_view bytes, Privacy privacy = Privacy::Shared);

} // namespace zorvant::platform
