#include "platform/services.h"

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/wave_file.h"
#include "platform/windows_names.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <windows.h>

#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

namespace zorvant::platform {
using namespace text::literals;

namespace {

class WindowsServices final : public Services {
public:
    void shellOpen(std::string_view target) override {
        // Some shell handlers are COM objects and need the calling thread in an apartment; a thread
        // that is in one already keeps it.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        ShellExecuteW(nullptr, L"open", wideName(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        if (SUCCEEDED(com))
            CoUninitialize();
    }

    void startCommandLine(std::string_view commandLine) override {
        const std::vector<std::string> args = splitCommandLine(commandLine);
        if (args.empty())
            throw Error(std::string("Не указана программа для запуска."_cp));
        // CreateProcessW may write into the command line, so it gets a copy of its own.
        std::wstring line = wideName(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            throw Error(std::string("Не удаётся запустить программу "_cp) + args[0] + ": " +
                        systemReason(GetLastError()));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // Played asynchronously, PlaySoundW reports success even for a file or a device it lacks, so both
    // are checked first.
    void playSound(std::string_view wavFile) override {
        requireWaveFile(wavFile);
        const std::string cannotPlay =
            std::string("Не удаётся проиграть звуковой файл "_cp) + std::string(wavFile);
        if (waveOutGetNumDevs() == 0)
            throw Error(cannotPlay + std::string(": нет устройства вывода звука"_cp));
        if (!PlaySoundW(wideName(wavFile).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
            throw Error(cannotPlay);
    }
};

} // namespace

Services& systemServices() {
    static WindowsServices services;
    return services;
}

} // namespace zorvant::platform
