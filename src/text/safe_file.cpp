#include "text/safe_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zorvant::text {
namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

namespace {

// Devices and pipes (such as /dev/full) are written in place: renaming over them would replace the node.
std::string writeInPlace(const fs::path& target, std::string_view bytes) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out)
        return std::strerror(errno);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const int writeError = errno;
    return out ? std::string() : std::strerror(writeError != 0 ? writeError : EIO);
}

fs::path temporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tmp%08x%08x%u", random(), random(), counter++);
    fs::path temporary = target;
    temporary += suffix;
    return temporary;
}

// The temporary file is made fresh under an unguessable name and is owner-only from its first moment,
// so that nobody can read the bytes or slip in a file of their own meanwhile. A name that exists already
// is left alone and another is tried. Returns the descriptor, or -1 with errno set.
int createTemporary(const fs::path& target, fs::path& temporary) {
    for (int tries = 0; tries < 8; ++tries) {
        temporary = temporaryBeside(target);
#ifdef _WIN32
        const int fd =
            ::_wopen(temporary.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
        const int fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
#endif
        if (fd != -1 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
#ifdef _WIN32
        const int written =
            ::_write(fd, bytes.data(), static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 20)));
#else
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes all and closes; the system's reason on failure.
std::string writeAndClose(int fd, std::string_view bytes) {
    errno = 0;
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
#ifdef _WIN32
    const bool closed = ::_close(fd) == 0;
#else
    const bool closed = ::close(fd) == 0;
#endif
    if (!written)
        return std::strerror(writeError != 0 ? writeError : EIO);
    return closed ? std::string() : std::strerror(errno);
}

// Writes, closes and gives the file its final permissions; the system's reason on failure.
std::string fillTemporary(int fd, const fs::path& temporary, std::string_view bytes, fs::perms perms) {
    if (auto error = writeAndClose(fd, bytes); !error.empty())
        return error;
    std::error_code ec;
    fs::permissions(temporary, perms, ec);
    return ec ? ec.message() : std::string();
}

} // namespace

std::string appendToFile(const fs::path& target, std::string_view bytes) {
#ifdef _WIN32
    const int fd =
        ::_wopen(target.c_str(), _O_CREAT | _O_APPEND | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int fd = ::open(target.c_str(), O_CREAT | O_APPEND | O_WRONLY | O_CLOEXEC, 0644);
#endif
    return fd == -1 ? std::strerror(errno) : writeAndClose(fd, bytes);
}

std::string writeFileSafely(const fs::path& requested, std::string_view bytes, FileAccess access) {
    std::error_code ec;
    const fs::path target = fs::is_symlink(requested, ec) ? fs::weakly_canonical(requested, ec) : requested;
    const auto status = fs::status(target, ec);
    if (fs::is_directory(status))
        return std::strerror(EISDIR);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return writeInPlace(target, bytes);

    auto perms = fs::perms::owner_read | fs::perms::owner_write;
    if (access == FileAccess::Shared)
        perms = fs::exists(status) ? status.permissions()
                                   : perms | fs::perms::group_read | fs::perms::others_read;
    fs::path temporary;
    const int fd = createTemporary(target, temporary);
    if (fd == -1)
        return std::strerror(errno);
    if (auto error = fillTemporary(fd, temporary, bytes, perms); !error.empty()) {
        fs::remove(temporary, ec);
        return error;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ec.message();
    }
    return {};
}

} // namespace zorvant::text
