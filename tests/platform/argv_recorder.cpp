// A program for the tests of starting programs: it writes the arguments it was given, one per line in
// Windows-1251, to the file named by ZORVANT_ARGV_LOG. The C runtime has split the command line by the
// Windows rules. With the first argument "--slowly" it waits two seconds before writing.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string narrow(const wchar_t* text) {
    const int length = WideCharToMultiByte(1251, 0, text, -1, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(1251, 0, text, -1, out.data(), length, "?", nullptr);
    out.pop_back();
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t log[32768];
    if (GetEnvironmentVariableW(L"ZORVANT_ARGV_LOG", log, 32768) == 0)
        return 2;
    if (argc > 1 && std::wstring(argv[1]) == L"--slowly")
        Sleep(2000);
    std::string lines;
    for (int i = 1; i < argc; ++i)
        lines += narrow(argv[i]) + "\r\n";
    // Written beside the log and renamed, so that the test never reads half a file.
    const std::wstring temporary = std::wstring(log) + L".part";
    {
        std::ofstream out(std::filesystem::path(temporary), std::ios::binary);
        out << lines;
    }
    return MoveFileExW(temporary.c_str(), log, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
