#include "support/temp_folder.h"

#include "platform/platform.h"
#include "text/cp1251.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

namespace zorvant::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("zorvant-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempFolder::folderName() const {
    return platform::fromNativePath(path_) + platform::kPathSeparator;
}

std::string TempFolder::file(std::string_view utf8Name) const {
    return folderName() + text::fromUtf8(utf8Name);
}

fs::path TempFolder::native(std::string_view utf8Name) const {
    return path_ / platform::nativePath(text::fromUtf8(utf8Name));
}

void TempFolder::write(std::string_view utf8Name, std::string_view bytes) const {
    std::ofstream out(native(utf8Name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file");
}

std::string TempFolder::read(std::string_view utf8Name) const {
    std::ifstream in(native(utf8Name), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read test file " + std::string(utf8Name));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string visible(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>\n";
        else if (byte >= 0x80 || byte < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", byte);
            out += hex;
        } else
            out += c;
    }
    return out;
}

} // namespace zorvant::testing
