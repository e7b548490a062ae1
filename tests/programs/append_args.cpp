// The run action of the watcher load test: appends each argument after the first, one per line, to the
// file the first argument names, in one write so that concurrent runs never mix their lines.
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    std::string lines;
    for (int i = 2; i < argc; ++i)
        (lines += argv[i]) += '\n';
    const int fd = ::open(argv[1], O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0)
        return 1;
    ::flock(fd, LOCK_EX);
    const bool whole = ::write(fd, lines.data(), lines.size()) == static_cast<ssize_t>(lines.size());
    ::close(fd);
    return whole ? 0 : 1;
}
