#pragma once
// The watch table as rows of three cells (message file, action, target) and the user's operations on
// it. The grid never has zero rows; a table whose only row has an empty message file is the blank table
// and counts as having no records.
#include "watch/watch_record.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

using TableRow = std::array<std::string, 3>;
using TableRows = std::vector<TableRow>;

inline WatchRecord recordOf(const TableRow& row) {
    return {row[0], row[1], row[2]};
}
inline TableRow rowOf(const WatchRecord& record) {
    return {record.MessageFile, record.Action, record.Target};
}

bool isBlankTable(const TableRows& rows);

// The records a tick visits, in table order; the blank table has none.
std::vector<WatchRecord> recordsOf(const TableRows& rows);

// Add or apply. Editing is the row being edited, or nothing outside edit mode. The blank table takes the
// editors into its row whatever they hold; otherwise a new record needs a message file, while an edited
// record takes the editors as they are. Returns the row written, if any.
std::optional<std::size_t> addOrApply(TableRows& rows, std::optional<std::size_t> editing,
                                      const WatchRecord& editors);

// Removes the row; the last row left becomes blank instead. Returns the current row afterwards.
std::size_t deleteRow(TableRows& rows, std::size_t row);

// How the target picker is set up for an action, and what it puts into the target editor.
struct TargetPicker {
    std::string filter;
    std::string defaultExtension;
};
TargetPicker targetPickerFor(std::string_view action);
inline constexpr std::string_view kMessagePickerFilter = "*.txt|*.txt";
inline constexpr std::string_view kMessagePickerExtension = "txt";
// A picked path with a space goes into the editor between double quotes.
std::string pickedTarget(std::string_view path);

// The heading over the target column, and whether the target picker is shown, for an action text.
std::string_view targetHeadingFor(std::string_view action);
bool targetPickerShownFor(std::string_view action);

} // namespace zorvant::watch
