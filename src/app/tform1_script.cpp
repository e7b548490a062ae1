#include "app/tform1.h"
#include "platform/platform.h"
#include "qpl/generator.h"
#include "text/lines.h"

namespace zorvant::app {

qpl::GeneratorInput scriptInput(const TForm1& f) {
    qpl::GeneratorInput input;
    input.portfelName = f.PortfelName.text;
    input.portfelDesc = f.PortfelDesc.text;
    input.allClients = f.ClientConfigAll.checked;
    input.clientCode = f.client_code.text;
    input.firmId = f.firmid.text;
    input.account = f.account.text;
    input.fileNameMessage = f.FileNameMessage.text;
    input.compressed = f.RT_COMP.checked;
    input.compMess = f.CompMess.text;
    input.conditions = &f.ConditionsView.items;
    input.library = f.TestFuncs.lines;
    input.previousMessageChart = f.MessageChart;
    return input;
}

bool TForm1::generateScriptText() {
    qpl::GeneratedScript script = qpl::generateScript(scriptInput(*this));
    for (const auto& message : script.messages)
        env_.dialogs.showMessage(message);
    if (script.refused)
        return false;
    MessagePeriod = script.messagePeriod;
    MessageChart = script.messageChart;
    ScriptText.lines = std::move(script.lines);
    return true;
}

void TForm1::N9Click() {
    if (!generateScriptText())
        return;
    // The trader sees the script before the save dialog asks where to keep it.
    PageControl1.activePageIndex = 2;
    N13Click();
}

void TForm1::N13Click() {
    const FileDialogRequest request{PortfelFolder.text, "qpl", "*.qpl|*.qpl", PortfelName.text};
    if (const auto fileName = env_.dialogs.saveFile(request))
        platform::writeFile(*fileName, text::joinCrLf(ScriptText.lines));
}

} // namespace zorvant::app
