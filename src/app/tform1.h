#pragma once
// The main window as a plain object: its controls, named as in the window design, and its handlers.
// A handler is short: it calls the subsystem code with the controls it needs. Texts are Windows-1251.
#include "app/controls.h"
#include "app/dialogs.h"
#include "app/preview_lines.h"
#include "app/tform2.h"
#include "app/tform4.h"
#include "app/tform_telegram.h"
#include "qpl/generator_input.h"
#include "watch/alert_log.h"
#include "watch/http_post.h"
#include "watch/telegram_channel.h"
#include "watch/watcher.h"
#include "watch/webhook_channel.h"

#include <memory>
#include <string>

namespace zorvant::platform {
class Services;
}

namespace zorvant::app {

// What the main window needs from outside: dialogs, the operating system and the folder it runs from.
struct Environment {
    Dialogs& dialogs;
    platform::Services& system;
    watch::MailSender& mail;
    std::string programFolder; // ends with the path separator
    char decimalSeparator = ',';
    // How the messenger channels reach their servers (tests trust their own certificate here).
    watch::HttpOptions http{};
};

class TForm1 {
public:
    TForm1(Environment environment, TForm2& form2, TForm4& form4);
    ~TForm1();

    // --- Lifecycle and settings (tform1_lifecycle.cpp) ---
    void FormCreate();
    void FormActivate();
    // Writes the settings file; false when it could not be written and the user chose to stay. Before
    // start-up has finished it writes nothing and lets the window close.
    bool FormClose();
    void FormResize();
    bool N12Click() { return FormClose(); }
    // True once FormActivate has applied the settings and finished start-up.
    bool started() const { return started_; }
    void LoadSettings();
    void SaveSettings();

    // --- Storage folders and client settings (tform1_settings_page.cpp) ---
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton11Click();
    void ClientConfigAllClick();

    // --- About box and help (tform1_help.cpp) ---
    void N22Click();
    void N20Click();

    // --- Condition editor (tform1_editor.cpp) ---
    void BitBtn1Click();
    void BitBtn3Click();
    void N6Click();
    void action1Change();
    void TabSet1Change(int newTab);
    void Line_1Change();
    void Line_2Change();
    bool inUpdateMode() const { return !ConditionsView.enabled; }

    // --- Grouping (tform1_grouping.cpp) ---
    void N27Click();
    void N28Click();

    // --- Conditions and description files (tform1_files.cpp) ---
    void N3Click();
    void N4Click();
    void N10Click();
    void N11Click();
    void RT_ALLClick();
    void RT_COMPClick();
    void SpeedButton1Click();

    // --- Script generation (tform1_script.cpp) ---
    void N9Click();
    void N13Click();
    // Generates into ScriptText exactly as N9Click does, without the page switch and the save dialog;
    // the list's problems go to the dialogs. False when the list was refused: ScriptText is unchanged.
    bool generateScriptText();

    // --- Watch table and watch timer (tform1_watch.cpp) ---
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton10Click();
    void SpeedButton12Click();
    void DoChoiseChange();
    void TimeIntervalChange();
    void Timer1Timer();
    bool inEditMode() const { return !TableFiles.enabled; }
    // For a tick off the user-interface thread: take the snapshot here, run watcher().tick on the worker
    // and hand its reports back here, as also those that finished deliveries leave waiting (see
    // Watcher::onReports).
    watch::TickInput watchSnapshot() const;
    watch::Watcher& watcher();
    void showTickReports(const std::vector<watch::TickReport>& reports);

    // --- Mail settings (tform1_mail.cpp) ---
    void N18Click();

    // --- Alerts: Telegram settings, the alert log and its page, the tray icon (tform1_alerts.cpp) ---
    void TelegramSettingsClick();
    // Reads the alert log again when it has changed since (another watcher writes it too).
    void JournalRefresh();
    // Closing the window (not "Выход") only hides it when the option is on and the tray icon shows.
    bool hidesOnClose(bool trayIconShown) const { return trayIconShown && CloseToTray.checked; }

    // --- "Проверить на истории" (tform1_preview.cpp) ---
    void HistoryPreviewClick();

    // Values held by the shell.
    std::string ProgramFolder;
    std::string ProgramVersion;

    // Page "Описание": portfolio and message.
    Edit PortfelName;
    Edit PortfelDesc;
    RadioButton RT_ALL;
    RadioButton RT_COMP;
    Edit CompMess;
    Edit FileNameMessage;

    // Page "Описание": the condition editor and the list.
    ComboBox Time1;
    SpinEdit Line_1;
    Edit schedule1;
    ComboBox period1;
    ComboBox action1;
    NotebookPages Notebook;
    TabSet TabSet1;
    ComboBox Time2;
    SpinEdit Line_2;
    Edit schedule2;
    ComboBox period2;
    Edit level2; // a calculator edit: the level as typed, read with a point or a comma
    ComboBox LogOp;
    Button BitBtn1;
    Button BitBtn2;
    Button BitBtn3;
    TreeView ConditionsView;

    // Page "Настройки": client settings and storage folders.
    RadioButton ClientConfigAll;
    RadioButton ClientConfigInd;
    Edit client_code;
    Edit firmid;
    Edit account;
    Label Label1;
    Label Label2;
    Label Label3;
    Edit ConFolder;
    Edit DescFolder;
    Edit PortfelFolder;
    Edit MessFolder;

    // Page "Настройки": the watch table.
    SpinEdit TimeInterval;
    StringGrid TableFiles;
    Edit LookFileName;
    ComboBox DoChoise;
    Edit ExeFileName;
    Label Label19;
    Button SpeedButton6;
    Button SpeedButton7;
    Panel Shape2;
    Panel Shape3;
    Panel Shape6;
    Timer Timer1;

    // Page "Скрипт" and the generator's state.
    Memo ScriptText;
    Memo TestFuncs;
    PageControl PageControl1;
    // The control, by name, that is to take the input focus; the view gives it the focus and clears it.
    std::string ActiveControl;
    std::string MessagePeriod = "0";
    std::string MessageChart;

    // The candle file last chosen for each chart line in "Проверка на истории"; kept in the settings.
    std::vector<LineFile> CandleFiles;

    // Page "Настройки": the tray options, kept in the settings.
    CheckBox CloseToTray;
    CheckBox AlertBalloons;
    TrayIcon Tray;
    // Page "Журнал": the alert log, newest first (time, message file, action, target, text, result).
    TextTable Journal;

    TForm2& form2() { return form2_; }
    TFormTelegram& formTelegram() { return formTelegram_; }
    const TFormTelegram& formTelegram() const { return formTelegram_; }
    watch::AlertLog& alertLog() { return alertLog_; }
    Environment& environment() { return env_; }

private:
    void defaultAndCreateFolders();
    void pickFolder(Edit& folder);
    void setEditMode(bool on);

    void showOnTray(const watch::TickReport& report);

    Environment env_;
    TForm2& form2_;
    TForm4& form4_;
    watch::TelegramChannel telegram_;
    watch::WebhookChannel webhook_;
    TFormTelegram formTelegram_;
    watch::AlertLog alertLog_;
    std::string journalStamp_;
    bool activated_ = false;
    bool started_ = false; // FormActivate has run to its end
    std::unique_ptr<watch::Watcher> watcher_;
};

// The folder with the path separator at its end, as ProgramFolder is kept.
std::string withSeparator(std::string folder);

// What "Генерировать скрипт QPL" hands the generator: the form's portfolio, client and message
// settings, its condition list and the helper library.
qpl::GeneratorInput scriptInput(const TForm1& form);

} // namespace zorvant::app
