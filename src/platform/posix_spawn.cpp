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

} // namespace

bool spawnDetached(const std::vector<std::string>& utf8Args, Output output) {
    if (utf8Args.empty() || utf8Args[0].empty())
        return false;
    std::vector<char*> argv;
    for (const auto& arg : utf8Args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    SpawnSetup setup(output);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) != 0)
        return false;
    reapWhenDone(pid);
    return true;
}

} // namespace zorvant::platform
