#pragma once
// The conditions file (*.con): one line per node in tree order, as many tabs as the node's level, then
// the node's text unchanged; every line ends with CR LF. Texts and file names are Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::conditions {

// The lines of the file without their line ends.
std::vector<std::string> conditionFileLines(const ConditionList& list);

// Builds a list from lines: the level of a line is its count of leading tabs or spaces, in any mix.
// Throws zorvant::Error naming sourceName when a line is more than one level deeper than the one
// before it.
ConditionList buildFromLines(const std::vector<std::string>& lines, std::string_view sourceName);

// Throws zorvant::Error naming the file when it cannot be written; the old file then stays as it was.
void writeConditionsFile(std::string_view fileName, const ConditionList& list);

// Throws zorvant::Error when the file cannot be read, holds a level jump, or is not Windows-1251.
ConditionList readConditionsFile(std::string_view fileName);

// The bytes of a conditions or description file, read from fileName. Throws zorvant::Error naming the
// file when it is UTF-8 or UTF-16 (re-saved by an editor), whose tags would match nothing.
std::string readWindows1251File(std::string_view fileName);

} // namespace zorvant::conditions
