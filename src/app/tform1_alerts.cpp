#include "app/tform1.h"
#include "platform/local_time.h"
#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

namespace {

// How many of the newest log lines the page shows.
constexpr std::size_t kJournalRows = 1000;
// Longer tooltips are cut by some desktops (Windows keeps 127 characters).
constexpr std::size_t kLongestTip = 120;

std::string fileNameOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string cut(std::string text, std::size_t most) {
    if (text.size() > most)
        text = text.substr(0, most - 3) + "...";
    return text;
}

} // namespace

void TForm1::TelegramSettingsClick() {
    env_.dialogs.showTelegramSettings();
}

void TForm1::JournalRefresh() {
    std::string stamp = alertLog_.stamp();
    if (stamp == journalStamp_)
        return;
    journalStamp_ = std::move(stamp);
    Journal.rows.clear();
    for (const auto& entry : alertLog_.newest(kJournalRows))
        Journal.rows.push_back(
            {entry.time, entry.messageFile, entry.action, entry.target, entry.message, entry.result});
    ++Journal.version;
}

// The tooltip says what came last; a balloon says it as it comes, when the option is on.
void TForm1::showOnTray(const watch::TickReport& report) {
    const bool failed = report.kind == watch::TickReport::Kind::Error;
    const std::string what = fileNameOf(report.messageFile) + ": " + report.text;
    Tray.tip = cut(platform::formatLocalTime(report.time, "%H:%M:%S ") +
                       (failed ? std::string("ошибка, "_cp) : "") + what,
                   kLongestTip);
    if (!AlertBalloons.checked)
        return;
    Tray.balloonTitle = failed ? std::string("Ошибка: "_cp) + report.action : report.action;
    Tray.balloonText = what;
    ++Tray.balloons;
}

} // namespace zorvant::app
