#include "app/tform1.h"
#include "platform/platform.h"
#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

void TForm1::pickFolder(Edit& folder) {
    const auto chosen = env_.dialogs.browseForFolder("Выберите папку"_cp, folder.text);
    if (!chosen || chosen->empty())
        return;
    folder.text = *chosen;
    if (folder.text.back() != platform::kPathSeparator)
        folder.text += platform::kPathSeparator;
}

void TForm1::SpeedButton2Click() {
    pickFolder(ConFolder);
}
void TForm1::SpeedButton3Click() {
    pickFolder(DescFolder);
}
void TForm1::SpeedButton4Click() {
    pickFolder(PortfelFolder);
}
void TForm1::SpeedButton11Click() {
    pickFolder(MessFolder);
}

void TForm1::ClientConfigAllClick() {
    const bool individual = !ClientConfigAll.checked;
    for (Edit* field : {&client_code, &firmid, &account})
        field->enabled = individual;
    for (Label* label : {&Label1, &Label2, &Label3})
        label->colour = individual ? Colour::windowText() : Colour::gray();
}

} // namespace zorvant::app
