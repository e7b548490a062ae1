// The settings file reader: whatever the file holds, start-up ends with settings that are saved and read
// back to the very same lines.
#include "entries.h"
#include "null_world.h"

#include "app/settings_file.h"
#include "app/tform1.h"
#include "text/error.h"
#include "text/lines.h"

#include <memory>

namespace zorvant::fuzz {

std::string NullServices::readFile(std::string_view) {
    throw Error("no file");
}

namespace {

struct Windows {
    NullDialogs dialogs;
    NullServices system;
    NullMail mail;
    app::TForm2 form2{dialogs, mail};
    app::TForm4 form4{"1.1"};
    app::TForm1 form1{{dialogs, system, mail, "C:\\Z\\", ','}, form2, form4};
};

// What LoadSettings does with the file: a line that raises an error is skipped alone.
void load(Windows& w, std::string_view bytes) {
    app::applySettingsFile(bytes, w.form1, w.form2);
    w.form1.ClientConfigAllClick();
    w.form1.TimeIntervalChange();
}

} // namespace

void settingsReader(std::string_view bytes) {
    const auto first = std::make_unique<Windows>();
    load(*first, bytes);
    const int interval = first->form1.TimeInterval.value;
    check(interval >= 1 && interval <= 3600, "the interval left 1 to 3600");
    check(first->form1.Timer1.intervalMs == interval * 1000, "the timer does not follow the interval");
    check(first->form1.ClientConfigAll.checked != first->form1.ClientConfigInd.checked,
          "both or neither client choice checked");

    const auto saved = app::settingsLines(first->form1, first->form2);
    const auto second = std::make_unique<Windows>();
    load(*second, text::joinCrLf(saved));
    check(second->dialogs.messages == 0, "saved settings raised a message when read back");
    check(app::settingsLines(second->form1, second->form2) == saved, "saved settings read back differently");
    keep(saved.size());
}

} // namespace zorvant::fuzz
