#include "platform/windows_names.h"

#include <windows.h>

namespace zorvant::platform {
namespace {
constexpr UINT kCodePage = 1251;
}

std::wstring wideName(std::string_view cp1251) {
    if (cp1251.empty())
        return {};
    const int size = static_cast<int>(cp1251.size());
    const int length = MultiByteToWideChar(kCodePage, 0, cp1251.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp1251.data(), size, out.data(), length);
    return out;
}

std::string narrowName(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(kCodePage, 0, utf16.data(), size, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage, 0, utf16.data(), size, out.data(), length, "?", nullptr);
    return out;
}

std::string systemReason(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = text != nullptr ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L'.'))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(error) : narrowName(reason);
}

} // namespace zorvant::platform
