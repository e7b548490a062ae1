#include "platform/claim.h"
#include "platform/platform.h"
#include "text/cp1251.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvant::platform {
namespace {

enum class Where { MessageFile, ClaimedName };

int fdOf(const FileHold& hold) {
    return static_cast<int>(hold.handle());
}

std::string reasonOf(int error) {
    return text::fromUtf8(std::strerror(error));
}

Claim refused(int error) {
    const bool gone = error == ENOENT || error == ENOTDIR;
    return {gone ? ClaimStatus::Missing : ClaimStatus::Failed, {}, gone ? std::string() : reasonOf(error)};
}

// Opens a plain file for reading and locks it for this watcher. Anything but a plain file is never
// opened, and the open does not block, so that a pipe put in its place cannot stall the watcher.
Claim lockPlainFile(const std::string& path, Where where) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return refused(errno);
    if (S_ISDIR(info.st_mode))
        return {where == Where::MessageFile ? ClaimStatus::Missing : ClaimStatus::Folder};
    if (!S_ISREG(info.st_mode))
        return {ClaimStatus::NotPlainFile};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd == -1)
        return refused(errno);
    FileHold hold(fd);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return {ClaimStatus::NotPlainFile};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Claim{ClaimStatus::Busy} : refused(errno);
    return {ClaimStatus::Claimed, std::move(hold)};
}

// True while the name still leads to the held file.
bool leadsTo(const std::string& path, const FileHold& hold) {
    struct stat named {
    }, held{};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fdOf(hold), &held) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

// 0 or the reason. Where the file system cannot rename without replacing, a hard link stands in: it
// never replaces either.
int renameWithoutReplacing(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (::link(from, to) != 0)
        return errno;
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to);
        return error;
    }
    return 0;
}

} // namespace

FileHold::~FileHold() {
    if (handle_ != kNone)
        ::close(static_cast<int>(handle_));
}

FileHold::State FileHold::state() const {
    struct stat info {};
    if (::fstat(fdOf(*this), &info) != 0)
        return {};
    State state{info.st_size, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec, false};
    char last = 0;
    state.endsWithLineEnd =
        info.st_size > 0 && ::pread(fdOf(*this), &last, 1, info.st_size - 1) == 1 && last == '\n';
    return state;
}

bool renameFile(std::string_view from, std::string_view to) {
    return renameWithoutReplacing(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

Claim claimFile(std::string_view file, std::string_view claimed) {
    const std::string from = nativePath(file).string(), to = nativePath(claimed).string();
    Claim claim = lockPlainFile(from, Where::MessageFile);
    if (claim.status != ClaimStatus::Claimed)
        return claim;
    if (const int error = renameWithoutReplacing(from.c_str(), to.c_str()); error != 0)
        return error == EEXIST ? Claim{ClaimStatus::Taken} : refused(error);
    if (leadsTo(to, claim.hold))
        return claim;
    // Another file took the name between the lock and the rename: that one is claimed now, and is
    // taken up under the private name like any other.
    return holdClaimed(claimed);
}

Claim holdClaimed(std::string_view claimed) {
    const std::string path = nativePath(claimed).string();
    Claim claim = lockPlainFile(path, Where::ClaimedName);
    // Its owner deleted it between the open and the lock: nothing is there to take up now.
    if (claim.status == ClaimStatus::Claimed && !leadsTo(path, claim.hold))
        return {ClaimStatus::Busy};
    return claim;
}

} // namespace zorvant::platform
