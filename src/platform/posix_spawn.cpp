#include "platform/posix_spawn.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zorvant::platform {
namespace {

// A child that is never waited for stays a zombie; one small thread per child waits for its end.
void reapWhenDone(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
        }
    }).detach();
}

// How the child starts: no signal blocked and default handlers, whatever this process set up for
// itself; its output discarded when asked.
class SpawnSetup {
public:
    explicit SpawnSetup(Output output) {
        ::posix_spawn_file_actions_init(&actions);
        if (output == Output::Quiet) {
            ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        }
        ::posix_spawnattr_init(&attributes);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attributes, &none);
        ::posix_spawnattr_setsigdefault(&attributes, &all);
        ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        ::posix_spawnattr_destroy(&attributes);
        ::posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// Waits for the child's end until the deadline; its exit code, or nothing when it still runs.
std::optional<int> exitWithin(pid_t pid, std::chrono::milliseconds watch) {
    const auto deadline = std::chrono::steady_clock::now() + watch;
    do {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (ended == -1 && errno != EINTR)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

} // namespace

Started spawnDetached(const std::vector<std::string>& utf8Args, Output output,
                      std::chrono::milliseconds watch) {
    if (utf8Args.empty() || utf8Args[0].empty())
        return {ENOENT, std::nullopt};
    std::vector<char*> argv;
    for (const auto& arg : utf8Args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    SpawnSetup setup(output);
    pid_t pid = 0;
    if (const int error =
            ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ))
        return {error, std::nullopt};
    Started started;
    if (watch.count() > 0)
        started.exitCode = exitWithin(pid, watch);
    if (!started.exitCode)
        reapWhenDone(pid);
    return started;
}

} // namespace zorvant::platform
