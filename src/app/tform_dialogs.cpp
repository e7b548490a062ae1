#include "app/tform2.h"
#include "app/tform4.h"
#include "text/cp1251.h"

namespace zorvant::app {
using namespace text::literals;

TForm2::TForm2(Dialogs& dialogs, watch::MailSender& mail) : dialogs_(dialogs), mail_(mail) {
    mailhost.items = {"smtp.yandex.ru", "smtp.mail.ru", "smtp.gmail.com"};
}

watch::MailSettings mailSettingsOf(const TForm2& form) {
    return {form.mailhost.text,   form.MailReceipt.text, form.MailSubject.text,
            form.MailAut.checked, form.maillogin.text,   form.mailpassword.text};
}

bool TForm2::BitBtn2Click() {
    const bool passed = mail_.testConnection(mailSettingsOf(*this), {});
    connectionTested(passed);
    return passed;
}

void TForm2::connectionTested(bool passed) {
    dialogs_.showMessage(passed ? "Тест успешно пройден."_cp : "Неудачная попытка соединения с сревером."_cp);
}

void TForm4::FormActivate() {
    ProductName.caption = std::string("Генерация информирующих скриптов\n(портфелей) для Quik."_cp);
    Version.caption = "Version " + programVersion_;
}

} // namespace zorvant::app
