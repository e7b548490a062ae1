#pragma once
// Line splitting and joining for the program's text files, which are written with CR LF line ends.
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::text {

// Settings-file reading: a line ends at LF (a CR before it belongs to the line end); a CR that is not
// followed by LF is dropped from the line. A last line without a line end still counts.
std::vector<std::string> splitSettingsLines(std::string_view bytes);

// Conditions-file reading: a line ends at CR, at LF or at CR LF; a NUL byte ends the text; a final line
// break does not make an empty last line.
std::vector<std::string> splitConditionLines(std::string_view bytes);

// Every line followed by CR LF, the last one too.
std::string joinCrLf(const std::vector<std::string>& lines);

} // namespace zorvant::text
