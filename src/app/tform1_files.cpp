#include "app/tform1.h"
#include "app/update_mode.h"
#include "conditions/conditions_file.h"
#include "conditions/description_file.h"

namespace zorvant::app {

namespace {

// A dialog goes ahead only when the user confirms it with a file name.
std::optional<std::string> confirmed(std::optional<std::string> answer) {
    if (answer && answer->empty())
        return std::nullopt;
    return answer;
}

FileDialogRequest conditionsDialog(const TForm1& f) {
    return {f.ConFolder.text, "con", "*.con|*.con", ""};
}

FileDialogRequest descriptionDialog(const TForm1& f, std::string proposedName) {
    return {f.DescFolder.text, "xml", "*.xml|*.xml", std::move(proposedName)};
}

conditions::PortfolioFields portfolioFields(const TForm1& f) {
    return {f.PortfelName.text, f.PortfelDesc.text, !f.RT_ALL.checked, f.CompMess.text,
            f.FileNameMessage.text};
}

void showPortfolioFields(TForm1& f, const conditions::PortfolioFields& fields) {
    f.PortfelName.text = fields.name;
    f.PortfelDesc.text = fields.comment;
    f.RT_ALL.checked = !fields.compressed;
    f.RT_COMP.checked = fields.compressed;
    f.CompMess.text = fields.compressedText;
    f.FileNameMessage.text = fields.messageFile;
}

} // namespace

void TForm1::N3Click() {
    if (const auto file = confirmed(env_.dialogs.saveFile(conditionsDialog(*this))))
        conditions::writeConditionsFile(*file, ConditionsView.items);
}

void TForm1::N4Click() {
    if (const auto file = confirmed(env_.dialogs.openFile(conditionsDialog(*this))))
        replaceConditionList(*this, conditions::readConditionsFile(*file));
}

void TForm1::N10Click() {
    const auto fields = portfolioFields(*this);
    if (const auto file = confirmed(env_.dialogs.saveFile(descriptionDialog(*this, PortfelName.text))))
        conditions::writeDescriptionFile(*file, fields, ConditionsView.items);
}

void TForm1::N11Click() {
    const auto file = confirmed(env_.dialogs.openFile(descriptionDialog(*this, "")));
    if (!file)
        return;
    // The whole file is read before any control changes, so a damaged file changes nothing.
    auto loaded = conditions::readDescriptionFile(*file);
    auto fields = portfolioFields(*this);
    loaded.applyTo(fields);
    showPortfolioFields(*this, fields);
    if (RT_COMP.checked)
        RT_COMPClick();
    else
        RT_ALLClick();
    if (loaded.conditions)
        replaceConditionList(*this, std::move(*loaded.conditions));
}

void TForm1::RT_ALLClick() {
    CompMess.enabled = RT_COMP.checked;
}

void TForm1::RT_COMPClick() {
    CompMess.enabled = RT_COMP.checked;
}

void TForm1::SpeedButton1Click() {
    if (const auto file = confirmed(env_.dialogs.saveFile({MessFolder.text, "txt", "*.txt|*.txt", ""})))
        FileNameMessage.text = *file;
}

} // namespace zorvant::app
