#include "app/settings_file.h"
#include "app/tform1.h"
#include "conditions/labels.h"
#include "platform/platform.h"
#include "qpl/library.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"
#include "watch/watch_record.h"

namespace zorvant::app {
using namespace text::literals;
namespace labels = conditions::labels;

namespace {

std::vector<std::string> itemsOf(const auto& labelArray) {
    return {labelArray.begin(), labelArray.end()};
}

void setUpEditorCombos(TForm1& f) {
    f.Time1.items = f.Time2.items = itemsOf(labels::kTimes);
    f.Time1.text = f.Time2.text = std::string(labels::kCurrentValue);
    f.period1.items = f.period2.items = itemsOf(labels::kIntervals);
    f.period1.selectItem(4);
    f.period2.selectItem(4);
    f.action1.items = itemsOf(labels::kActions);
    f.action1.selectItem(0);
    f.LogOp.items = itemsOf(labels::kJoiners);
    f.LogOp.selectItem(0);
    f.Line_1 = f.Line_2 = SpinEdit{0, 0, 10};
}

} // namespace

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != platform::kPathSeparator)
        folder += platform::kPathSeparator;
    return folder;
}

TForm1::TForm1(Environment environment, TForm2& form2, TForm4& form4)
    : env_(std::move(environment)), form2_(form2), form4_(form4), telegram_(env_.http), webhook_(env_.http),
      formTelegram_(env_.dialogs, telegram_), alertLog_(withSeparator(env_.programFolder)) {
    PortfelName.text = "My_portfel";
    PortfelDesc.text = std::string("Мой портфель"_cp);
    RT_ALL.checked = true;
    CompMess = Edit{std::string("Биржа зовет!"_cp), false};
    setUpEditorCombos(*this);
    schedule1.text = "PRICE";
    level2.text = "0";
    BitBtn1.caption = std::string("Добавить"_cp);
    BitBtn2.caption = std::string("Удалить"_cp);
    BitBtn3 = Button{std::string("Изменить"_cp), false};
    ClientConfigAll.checked = true;
    Label1.caption = std::string("Код клиента:"_cp);
    Label2.caption = std::string("Фирма:"_cp);
    Label3.caption = std::string("Счет депо:"_cp);
    TimeInterval = SpinEdit{5, 1, 3600};
    DoChoise.items = itemsOf(watch::kActions);
    Label19.caption = std::string("над файлом"_cp);
    SpeedButton7.imageIndex = 2;
    Shape2.width = 233;
    Shape3.width = 165;
    Shape6.width = 297;
    TestFuncs.lines = qpl::libraryLines();
    Tray.tip = std::string("Генерация информирующих скриптов для QUIK"_cp);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    ProgramVersion = "1.1";
    ProgramFolder = withSeparator(env_.programFolder);
}

void TForm1::FormActivate() {
    if (activated_)
        return;
    activated_ = true;
    LoadSettings();
    period1.selectItem(4);
    period2.selectItem(4);
    action1.selectItem(0);
    LogOp.selectItem(0);
    defaultAndCreateFolders();
    TableFiles.colWidths = {Shape2.width - 2, Shape3.width - 2, Shape6.width - 27};
    PageControl1.activePageIndex = 0;
    JournalRefresh();
    started_ = true;
}

void TForm1::defaultAndCreateFolders() {
    const std::pair<Edit*, std::string_view> folders[] = {
        {&ConFolder, "Условия"_cp},
        {&DescFolder, "Описания"_cp},
        {&PortfelFolder, "Портфели"_cp},
        {&MessFolder, "Сообщения"_cp},
    };
    for (const auto& [folder, name] : folders) {
        if (folder->text.empty())
            folder->text = ProgramFolder + std::string(name) + platform::kPathSeparator;
        platform::createFolder(folder->text);
    }
}

bool TForm1::FormClose() {
    // A close that comes before start-up has applied the settings (during a start-up message, say)
    // must not write the half-loaded values over the file.
    if (!started_)
        return true;
    try {
        SaveSettings();
        return true;
    } catch (const Error& error) {
        // A folder the user may not write to must not keep the program from ending.
        return env_.dialogs.closeWithoutSaving(error.what());
    }
}

void TForm1::FormResize() {
    // The header panels widen with the window, and the columns follow them.
    TableFiles.colWidths = {Shape2.width - 2, Shape3.width - 2, Shape6.width - 27};
}

void TForm1::LoadSettings() {
    const std::string path = ProgramFolder + std::string(kSettingsFileName);
    if (platform::plainFileExists(path)) {
        try {
            const auto skipped = applySettingsFile(platform::readFile(path), *this, form2_);
            if (!skipped.empty())
                env_.dialogs.showMessage(skippedLinesMessage(path, skipped));
        } catch (const Error& error) {
            // A file that cannot be read leaves every setting as it was, and start-up goes on.
            env_.dialogs.showMessage(std::string("Ошибка в файле настроек "_cp) + path + ": " + error.what());
        }
    }
    ClientConfigAllClick();
    TimeIntervalChange();
}

void TForm1::SaveSettings() {
    const std::string path = ProgramFolder + std::string(kSettingsFileName);
    // The password is kept in plain text, so the file is readable by its owner only.
    platform::writeFile(path, text::joinCrLf(settingsLines(*this, form2_)), platform::Privacy::OwnerOnly);
}

void TForm1::TimeIntervalChange() {
    Timer1.intervalMs = TimeInterval.value * 1000;
}

} // namespace zorvant::app
