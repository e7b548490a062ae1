#pragma once
// A fresh folder under the system's temporary folder, removed with its contents at the end of the test.
#include <filesystem>
#include <string>
#include <string_view>

namespace zorvant::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A path inside the folder; name is UTF-8. Use it rather than path() / "name": on Windows a narrow
    // name in a path is read in the ANSI code page, not as UTF-8.
    std::filesystem::path native(std::string_view utf8Name) const;
    // The folder as a Windows-1251 name ending with the path separator, as ProgramFolder is.
    std::string folderName() const;
    // A file inside the folder, as a Windows-1251 name; name is UTF-8.
    std::string file(std::string_view utf8Name) const;
    void write(std::string_view utf8Name, std::string_view bytes) const;
    std::string read(std::string_view utf8Name) const;

private:
    std::filesystem::path path_;
};

// Bytes with CR, LF and non-ASCII bytes made visible, for failure messages.
std::string visible(std::string_view bytes);

} // namespace zorvant::testing
