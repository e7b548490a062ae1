#include "text/safe_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

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

std::string writeTemporary(const fs::path& temporary, std::string_view bytes, fs::perms perms) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out)
        return std::strerror(errno);
    std::error_code ec;
    fs::permissions(temporary, perms, ec);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const int writeError = errno;
    if (!out)
        return std::strerror(writeError != 0 ? writeError : EIO);
    out.close();
    return out ? std::string() : std::strerror(EIO);
}

} // namespace

std::string writeFileSafely(const fs::path& requested, std::string_view bytes, FileAccess access) {
    static std::atomic<unsigned> counter{0};
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
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(counter++);
    if (auto error = writeTemporary(temporary, bytes, perms); !error.empty()) {
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
