#include "app/tform1.h"
#include "platform/platform.h"
#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

inline constexpr int kMainWindowHelpContext = 10;

void TForm1::N22Click() {
    env_.dialogs.showAbout();
}

void TForm1::N20Click() {
    const std::string helpFile = ProgramFolder + "Zorvant.hlp";
    if (platform::plainFileExists(helpFile))
        env_.dialogs.showHelp(helpFile, kMainWindowHelpContext);
    else
        env_.dialogs.showMessage("Файл справки не найден."_cp);
}

void TForm1::N18Click() {
    env_.dialogs.showMailSettings();
}

} // namespace zorvant::app
