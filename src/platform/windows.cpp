#include "platform/platform.h"

#include "text/cp1251.h"

#include <windows.h>

namespace zorvant::platform {
namespace fs = std::filesystem;

namespace {

// The one place where names turn from Windows-1251 into UTF-16.
std::wstring wide(std::string_view name) {
    if (name.empty())
        return {};
    const int length = MultiByteToWideChar(1251, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(1251, 0, name.data(), static_cast<int>(name.size()), out.data(), length);
    return out;
}

std::string narrow(std::wstring_view name) {
    if (name.empty())
        return {};
    const int length =
        WideCharToMultiByte(1251, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(1251, 0, name.data(), static_cast<int>(name.size()), out.data(), length, "?",
                        nullptr);
    return out;
}

} // namespace

fs::path nativePath(std::string_view name) {
    return fs::path(wide(name));
}

std::string fromNativePath(const fs::path& path) {
    return narrow(path.wstring());
}

std::string programFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    std::string folder = narrow(buffer.substr(0, buffer.find_last_of(L"\\/") + 1));
    if (folder.empty() || folder.back() != kPathSeparator)
        folder += kPathSeparator;
    return folder;
}

char decimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) < 2)
        return '.';
    const std::string separator = narrow(buffer);
    return separator.size() == 1 ? separator[0] : '.';
}

bool plainFileExists(std::string_view name) {
    if (name.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(wide(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool deleteFile(std::string_view name) {
    return DeleteFileW(wide(name).c_str()) != 0;
}

bool copyFileReplacing(std::string_view from, std::string_view to) {
    return CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE) != 0;
}

bool renameFile(std::string_view from, std::string_view to) {
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool createFolder(std::string_view name) {
    return !name.empty() && CreateDirectoryW(wide(name).c_str(), nullptr) != 0;
}

} // namespace zorvant::platform
