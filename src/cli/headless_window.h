#pragma once
// The desktop program's windows without a screen, for commands that read a portfolio the way its
// menus do. The messages a handler shows go to a stream as UTF-8.
#include "app/tform1.h"
#include "cli/answering_dialogs.h"
#include "cli/no_desktop.h"

#include <iosfwd>
#include <string>

namespace zorvant::cli {

struct HeadlessWindow {
    explicit HeadlessWindow(std::ostream& messages);

    AnsweringDialogs dialogs;
    FilesOnlyServices system;
    NoMailSender mail;
    app::TForm2 form2;
    app::TForm4 form4;
    app::TForm1 form1;
};

// A portfolio description (*.xml) or a conditions file (*.con), by the name's extension.
bool isPortfolioFile(const std::string& name);
// Reads a portfolio description (*.xml) or a conditions file (*.con) into the window as its "Загрузить"
// commands do. Throws zorvant::Error when the file cannot be read.
void loadPortfolio(HeadlessWindow& window, const std::string& file);

} // namespace zorvant::cli
