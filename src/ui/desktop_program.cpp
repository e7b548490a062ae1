#include "ui/desktop_program.h"

namespace zorvant::ui {

DesktopProgram::DesktopProgram(platform::Services& system, watch::MailSender& mail, std::string programFolder,
                               char decimalSeparator)
    : form2_(dialogs_, mail), form4_("1.1"),
      form1_(app::Environment{dialogs_, system, mail, std::move(programFolder), decimalSeparator}, form2_,
             form4_),
      runner_(dialogs_), window_(form1_, runner_), mailDialog_(form2_, runner_, &window_),
      telegramDialog_(form1_.formTelegram(), runner_, &window_), aboutBox_(form4_, &window_),
      formPreview_(form1_), previewDialog_(formPreview_, runner_, &window_) {
    form1_.FormCreate();
    dialogs_.setOwner(&window_);
    dialogs_.setMailSettingsDialog(&mailDialog_);
    dialogs_.setTelegramSettingsDialog(&telegramDialog_);
    dialogs_.setAboutBox(&aboutBox_);
    dialogs_.setHistoryPreview(&previewDialog_);
    dialogs_.setBeforeModal([this] { runner_.refreshViews(); });
}

bool DesktopProgram::start() {
    window_.show();
    return !window_.closed();
}

} // namespace zorvant::ui
