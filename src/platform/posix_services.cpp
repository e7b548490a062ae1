#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/posix_spawn.h"
#include "platform/services.h"
#include "platform/wave_file.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zorvant::platform {
using namespace text::literals;

namespace {

// A player that cannot play (no sound card) ends within this time; one still running by then plays.
constexpr std::chrono::milliseconds kPlayerWatch(500);

std::vector<std::string> utf8Arguments(std::string_view commandLine) {
    std::vector<std::string> args = splitCommandLine(commandLine);
    for (auto& arg : args)
        arg = text::toUtf8(arg);
    return args;
}

// A read lease is granted only while no one holds the file open for writing. The lease is dropped at
// once; its break signal goes to SIGURG, which is ignored by default, so a writer opening the file in
// between cannot end this process. A lease needs the watcher to own the file and a local file system;
// without one the answer is Unknown.
WriterState writerOf(std::string_view name) {
    const int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd == -1)
        return errno == ENOENT ? WriterState::Free : WriterState::Unknown;
    WriterState state = WriterState::Unknown;
    if (::fcntl(fd, F_SETSIG, SIGURG) == 0) {
        if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
            state = WriterState::Free;
        } else if (errno == EAGAIN) {
            state = WriterState::Held;
        }
    }
    ::close(fd);
    return state;
}

class PosixServices final : public Services {
public:
    WriterState writerState(std::string_view name) override { return writerOf(name); }

    void shellOpen(std::string_view target) override {
        spawnDetached({"xdg-open", text::toUtf8(target)}, Output::Quiet);
    }

    void startCommandLine(std::string_view commandLine) override {
        const std::vector<std::string> args = utf8Arguments(commandLine);
        if (args.empty())
            throw Error(std::string("Не указана программа для запуска."_cp));
        if (const Started started = spawnDetached(args); started.error != 0)
            throw Error(std::string("Не удаётся запустить программу "_cp) + text::fromUtf8(args[0]) + ": " +
                        text::fromUtf8(std::strerror(started.error)));
    }

    void playSound(std::string_view wavFile) override {
        requireWaveFile(wavFile);
        const Started started =
            spawnDetached({"aplay", "-q", "--", text::toUtf8(wavFile)}, Output::Quiet, kPlayerWatch);
        if (started.error != 0)
            throw Error(std::string("Не удаётся запустить проигрыватель звука aplay"_cp));
        if (started.exitCode.value_or(0) != 0)
            throw Error(
                std::string("Не удаётся проиграть звуковой файл "_cp) + std::string(wavFile) +
                std::string(": проигрыватель aplay завершился с ошибкой (нет звукового устройства?)"_cp));
    }
};

} // namespace

Services& systemServices() {
    static PosixServices services;
    return services;
}

} // namespace zorvant::platform
