#include "app/tform1.h"
#include "watch/watch_table.h"

#include <algorithm>

namespace zorvant::app {

void TForm1::SpeedButton5Click() {
    const auto chosen = env_.dialogs.openFile({MessFolder.text,
                                               std::string(watch::kMessagePickerExtension),
                                               std::string(watch::kMessagePickerFilter),
                                               {}});
    if (chosen)
        LookFileName.text = *chosen;
}

void TForm1::SpeedButton6Click() {
    const watch::TargetPicker picker = watch::targetPickerFor(DoChoise.text);
    const auto chosen = env_.dialogs.openFile({ProgramFolder, picker.defaultExtension, picker.filter, {}});
    if (chosen)
        ExeFileName.text = watch::pickedTarget(*chosen);
}

void TForm1::setEditMode(bool on) {
    TableFiles.enabled = !on;
    TableFiles.colour = on ? Colour::buttonFace() : Colour::window();
    SpeedButton7.imageIndex = on ? 1 : 2;
    Timer1.enabled = !on;
}

void TForm1::SpeedButton7Click() {
    const auto editing =
        inEditMode() ? std::optional<std::size_t>(static_cast<std::size_t>(TableFiles.row)) : std::nullopt;
    watch::addOrApply(TableFiles.rows, editing, {LookFileName.text, DoChoise.text, ExeFileName.text});
    setEditMode(false);
}

void TForm1::SpeedButton12Click() {
    const auto& row = TableFiles.rows.at(static_cast<std::size_t>(TableFiles.row));
    LookFileName.text = row[0];
    DoChoise.text = row[1];
    const auto item = std::find(DoChoise.items.begin(), DoChoise.items.end(), row[1]);
    DoChoise.itemIndex = item == DoChoise.items.end() ? -1 : static_cast<int>(item - DoChoise.items.begin());
    ExeFileName.text = row[2];
    DoChoiseChange();
    setEditMode(true);
}

// Deleting the record being edited ends its editing, so that the next apply cannot write into the
// record that moved into its place.
void TForm1::SpeedButton10Click() {
    TableFiles.row =
        static_cast<int>(watch::deleteRow(TableFiles.rows, static_cast<std::size_t>(TableFiles.row)));
    if (inEditMode())
        setEditMode(false);
}

void TForm1::DoChoiseChange() {
    Label19.caption = std::string(watch::targetHeadingFor(DoChoise.text));
    SpeedButton6.visible = watch::targetPickerShownFor(DoChoise.text);
}

watch::TickInput TForm1::watchSnapshot() const {
    return {watch::recordsOf(TableFiles.rows), mailSettingsOf(form2_),
            std::chrono::milliseconds(Timer1.intervalMs), telegramSettingsOf(formTelegram_)};
}

watch::Watcher& TForm1::watcher() {
    if (!watcher_) {
        watcher_ = std::make_unique<watch::Watcher>(env_.system, watch::Watcher::Channels{
                                                                     {watch::kSendMail, &env_.mail},
                                                                     {watch::kSendTelegram, &telegram_},
                                                                     {watch::kPostToWeb, &webhook_},
                                                                 });
        watcher_->keepLog(&alertLog_);
    }
    return *watcher_;
}

void TForm1::showTickReports(const std::vector<watch::TickReport>& reports) {
    for (const auto& report : reports)
        showOnTray(report);
    JournalRefresh();
    for (const auto& report : reports)
        if (report.kind == watch::TickReport::Kind::Error)
            env_.dialogs.showMessage(report.text);
}

// Reports of deliveries that finished since the last tick are shown with this tick's.
void TForm1::Timer1Timer() {
    if (const auto reports = watcher().tick(watchSnapshot()))
        showTickReports(*reports);
}

} // namespace zorvant::app
