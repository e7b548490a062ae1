#pragma once
// The settings file "Zorvant.ini": one "key=value" line per setting in a fixed order, the Telegram and
// tray settings, then one "Файл свечей=" line per remembered candle file and one "Файл сообщений=" line
// per watch row.
// Windows-1251, CR LF.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::app {

class TForm1;
class TForm2;

inline constexpr std::string_view kSettingsFileName = "Zorvant.ini";

// The lines SaveSettings writes, in order.
std::vector<std::string> settingsLines(const TForm1& main, const TForm2& mail);

// Applies one stored line to the controls. A line sets only the setting whose key it begins with, so a
// value holding another key's text cannot overwrite that other setting. Throws zorvant::Error for an
// interval that is not a number.
void applySettingsLine(std::string_view line, TForm1& main, TForm2& mail);
// The same for the mail settings alone, as zorvant-cli mail-test reads them.
void applyMailSettingsLine(std::string_view line, TForm2& mail);

// A line of the settings file that could not be applied, counted from 1, and the reason.
struct SkippedSettingsLine {
    std::size_t number = 0;
    std::string reason;
};

// Applies every line of the file's bytes in order. A line that cannot be applied is skipped alone, so
// the lines after it (and whatever later versions add after the fixed keys) still count.
std::vector<SkippedSettingsLine> applySettingsFile(std::string_view bytes, TForm1& main, TForm2& mail);

// The message about skipped lines of the settings file at path: which lines, why, and that the other
// lines were read.
std::string skippedLinesMessage(std::string_view path, const std::vector<SkippedSettingsLine>& skipped);

} // namespace zorvant::app
