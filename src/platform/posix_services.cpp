#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/posix_spawn.h"
#include "platform/services.h"
#include "platform/wave_file.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zorvant::platform {
using namespace text::literals;

namespace {

std::vector<std::string> utf8Arguments(std::string_view commandLine) {
    std::vector<std::string> args = splitCommandLine(commandLine);
    for (auto& arg : args)
        arg = text::toUtf8(arg);
    return args;
}

// A read lease is granted only while no one holds the file open for writing. The lease is dropped at
// once; its break signal goes to SIGURG, which is ignored by default, so a writer opening the file in
// between cannot end this process.
bool openForWriting(std::string_view name) {
    const int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd == -1)
        return false;
    bool held = false;
    if (::fcntl(fd, F_SETSIG, SIGURG) == 0) {
        if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0)
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
        else
            held = errno == EAGAIN;
    }
    ::close(fd);
    return held;
}

class PosixServices final : public Services {
public:
    bool heldByWriter(std::string_view name) override { return openForWriting(name); }

    void shellOpen(std::string_view target) override {
        spawnDetached({"xdg-open", text::toUtf8(target)}, Output::Quiet);
    }

    void startCommandLine(std::string_view commandLine) override {
        spawnDetached(utf8Arguments(commandLine));
    }

    void playSound(std::string_view wavFile) override {
        requireWaveFile(wavFile);
        if (!spawnDetached({"aplay", "-q", "--", text::toUtf8(wavFile)}, Output::Quiet))
            throw Error(std::string("Не удаётся запустить проигрыватель звука aplay"_cp));
    }
};

} // namespace

Services& systemServices() {
    static PosixServices services;
    return services;
}

} // namespace zorvant::platform
