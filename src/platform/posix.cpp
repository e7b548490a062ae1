#include "platform/platform.h"
#include "platform/sockets.h"

#include "text/cp1251.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zorvant::platform {
namespace fs = std::filesystem;

fs::path nativePath(std::string_view name) {
    return fs::path(text::toUtf8(name));
}

std::string fromNativePath(const fs::path& path) {
    return text::fromUtf8(path.string());
}

std::string programFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    std::string folder = ec ? std::string(".") : fromNativePath(executable.parent_path());
    if (folder.empty() || folder.back() != kPathSeparator)
        folder += kPathSeparator;
    return folder;
}

char decimalSeparator() {
    // Read from the user's locale without changing the process's own.
    const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0))
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    const char separator = radix != nullptr && radix[0] != '\0' && radix[1] == '\0' ? radix[0] : '.';
    freelocale(user);
    return separator;
}

bool plainFileExists(std::string_view name) {
    if (name.empty())
        return false;
    struct stat info {};
    return ::stat(nativePath(name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool deleteFile(std::string_view name) {
    return ::unlink(nativePath(name).c_str()) == 0;
}

bool copyFileReplacing(std::string_view from, std::string_view to) {
    std::error_code ec;
    return fs::copy_file(nativePath(from), nativePath(to), fs::copy_options::overwrite_existing, ec);
}

bool createFolder(std::string_view name) {
    return !name.empty() && ::mkdir(nativePath(name).c_str(), 0777) == 0;
}

void shutDownSocket(std::intptr_t socket) {
    ::shutdown(static_cast<int>(socket), SHUT_RDWR);
}

void closeSocket(std::intptr_t socket) {
    ::close(static_cast<int>(socket));
}

} // namespace zorvant::platform
