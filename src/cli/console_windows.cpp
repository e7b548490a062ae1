#include "cli/console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace zorvant::cli {
namespace {

std::string utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

} // namespace

Console::Console(int, char**) {
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments_.push_back(utf8(wide[i]));
        LocalFree(wide);
    }
    // Binary mode: what the commands write is what a file or pipe receives, line ends included.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    previousCodePage_ = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
}

Console::~Console() {
    if (previousCodePage_ != 0)
        SetConsoleOutputCP(previousCodePage_);
}

} // namespace zorvant::cli
