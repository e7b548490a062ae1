#pragma once
// The settings file "Zorvant.ini": one "key=value" line per setting in a fixed order, then one
// "Файл свечей=" line per remembered candle file and one "Файл сообщений=" line per watch row.
// Windows-1251, CR LF.
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

} // namespace zorvant::app
