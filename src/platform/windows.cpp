#include "platform/platform.h"
#include "platform/sockets.h"

#include "platform/windows_names.h"

#include <winsock2.h>

#include <windows.h>

namespace zorvant::platform {
namespace fs = std::filesystem;

fs::path nativePath(std::string_view name) {
    return fs::path(wideName(name));
}

std::string fromNativePath(const fs::path& path) {
    return narrowName(path.wstring());
}

std::string programFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    std::string folder = narrowName(buffer.substr(0, buffer.find_last_of(L"\\/") + 1));
    if (folder.empty() || folder.back() != kPathSeparator)
        folder += kPathSeparator;
    return folder;
}

char decimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) < 2)
        return '.';
    const std::string separator = narrowName(buffer);
    return separator.size() == 1 ? separator[0] : '.';
}

bool plainFileExists(std::string_view name) {
    if (name.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(wideName(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool deleteFile(std::string_view name) {
    return DeleteFileW(wideName(name).c_str()) != 0;
}

bool copyFileReplacing(std::string_view from, std::string_view to) {
    return CopyFileW(wideName(from).c_str(), wideName(to).c_str(), FALSE) != 0;
}

bool createFolder(std::string_view name) {
    return !name.empty() && CreateDirectoryW(wideName(name).c_str(), nullptr) != 0;
}

void shutDownSocket(std::intptr_t socket) {
    ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
}

void closeSocket(std::intptr_t socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

} // namespace zorvant::platform
