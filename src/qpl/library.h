#pragma once
// The QPL helper library that every generated portfolio carries, as Windows-1251.
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::qpl {

std::string_view libraryText();

// The library's lines in order; line ends are LF (a CR before one is dropped), and a final line end
// does not make an empty last line.
std::vector<std::string> libraryLines();

} // namespace zorvant::qpl
