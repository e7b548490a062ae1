#pragma once
// Names on Windows: Windows-1251 inside the program, UTF-16 for the wide (W) API, whatever the system's
// ANSI code page is. Every name given to or taken from Windows passes through these two.
#include <string>
#include <string_view>

namespace zorvant::platform {

std::wstring wideName(std::string_view cp1251);
// Characters that Windows-1251 lacks become "?".
std::string narrowName(std::wstring_view utf16);

// The system's own words for an error code of GetLastError, without the line end.
std::string systemReason(unsigned long error);

} // namespace zorvant::platform
