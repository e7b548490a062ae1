#include "platform/posix_spawn.h"

#include <cerrno>
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

} // namespace

bool spawnDetached(const std::vector<std::string>& utf8Args, Output output) {
    if (utf8Args.empty() || utf8Args[0].empty())
        return false;
    std::vector<char*> argv;
    for (const auto& arg : utf8Args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (output == Output::Quiet) {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    pid_t pid = 0;
    const int failure = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return false;
    reapWhenDone(pid);
    return true;
}

} // namespace zorvant::platform
