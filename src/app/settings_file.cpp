#include "app/settings_file.h"

#include "app/tform1.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"
#include "text/number_format.h"
#include "watch/watch_record.h"

#include <algorithm>
#include <optional>

namespace zorvant::app {
using namespace text::literals;

namespace {

constexpr std::string_view kClientChoice = "Настройки клиента="_cp;
constexpr std::string_view kIndividual = "Индивидуальные"_cp;
constexpr std::string_view kCommon = "Общие"_cp;
constexpr std::string_view kClientCode = "Код клиента="_cp;
constexpr std::string_view kFirm = "Фирма="_cp;
constexpr std::string_view kAccount = "Счет депо="_cp;
constexpr std::string_view kConFolder = "Папка условий="_cp;
constexpr std::string_view kDescFolder = "Папка описаний="_cp;
constexpr std::string_view kPortfelFolder = "Папка портфелей="_cp;
constexpr std::string_view kMessFolder = "Папка сообщений="_cp;
constexpr std::string_view kInterval = "Интервал просмотра="_cp;
constexpr std::string_view kMailHost = "Почтовый сервер="_cp;
constexpr std::string_view kReturnAddress = "Обратный адрес="_cp;
constexpr std::string_view kSubject = "Тема письма="_cp;
constexpr std::string_view kAuthentication = "Аутентификация="_cp;
constexpr std::string_view kLogin = "Имя пользователя="_cp;
constexpr std::string_view kPassword = "Пароль="_cp;
constexpr std::string_view kWatchFile = "Файл сообщений="_cp;
constexpr std::string_view kCandleFile = "Файл свечей="_cp;
constexpr std::string_view kTelegramToken = "Telegram токен="_cp;
constexpr std::string_view kTelegramServer = "Telegram сервер="_cp;
constexpr std::string_view kCloseToTray = "Закрывать в область уведомлений="_cp;
constexpr std::string_view kAlertBalloons = "Всплывающие уведомления="_cp;

std::string line(std::string_view key, std::string_view value) {
    return std::string(key) + std::string(value);
}

bool isBlank(const StringGrid& grid) {
    return grid.rows.size() == 1 && grid.rows[0][0].empty();
}

void addWatchRow(StringGrid& grid, std::string_view value) {
    const auto record = watch::parseWatchValue(value);
    const StringGrid::Row row = {record.MessageFile, record.Action, record.Target};
    if (isBlank(grid))
        grid.rows[0] = row;
    else
        grid.rows.push_back(row);
}

std::optional<std::string_view> valueAfter(std::string_view text, std::string_view key) {
    if (!text.starts_with(key))
        return std::nullopt;
    return text.substr(key.size());
}

void setInterval(TForm1& main, std::string_view value) {
    // A file edited by hand on a machine with the other decimal separator reads as meant.
    const double seconds = text::parseEitherSeparator(value, main.environment().decimalSeparator);
    const double limited = std::clamp(seconds, 1.0, 3600.0);
    main.TimeInterval.value = static_cast<int>(text::roundHalfEven(limited));
}

// The candle files chosen in "Проверка на истории", one "Файл свечей=CHART:N=FILE" line each. They
// stand after the fixed keys and before the watch rows; versions that do not know the key skip them.
void addCandleFileLines(const TForm1& main, std::vector<std::string>& lines) {
    for (const LineFile& choice : main.CandleFiles)
        lines.push_back(line(kCandleFile, formatLineFile(choice)));
}

// Telegram and the tray options, after the fixed keys; versions that do not know them skip them. Each
// is written only when it differs from its start value, so that a file without them stays as it was.
void addAlertLines(const TForm1& main, std::vector<std::string>& lines) {
    const TFormTelegram& telegram = main.formTelegram();
    if (!telegram.TelegramToken.text.empty())
        lines.push_back(line(kTelegramToken, telegram.TelegramToken.text));
    if (!telegram.TelegramServer.text.empty())
        lines.push_back(line(kTelegramServer, telegram.TelegramServer.text));
    if (main.CloseToTray.checked)
        lines.push_back(line(kCloseToTray, "1"));
    if (main.AlertBalloons.checked)
        lines.push_back(line(kAlertBalloons, "1"));
}

void applyAlertLine(std::string_view text, TForm1& main) {
    if (const auto value = valueAfter(text, kTelegramToken))
        main.formTelegram().TelegramToken.text = std::string(*value);
    if (const auto value = valueAfter(text, kTelegramServer))
        main.formTelegram().TelegramServer.text = std::string(*value);
    if (const auto value = valueAfter(text, kCloseToTray))
        main.CloseToTray.checked = *value == "1";
    if (const auto value = valueAfter(text, kAlertBalloons))
        main.AlertBalloons.checked = *value == "1";
}

void applyCandleFileLine(std::string_view text, TForm1& main) {
    if (const auto value = valueAfter(text, kCandleFile))
        if (const auto choice = parseLineFile(*value))
            rememberLineFile(main.CandleFiles, *choice);
}

} // namespace

std::vector<std::string> settingsLines(const TForm1& main, const TForm2& mail) {
    std::vector<std::string> lines = {
        line(kClientChoice, main.ClientConfigAll.checked ? kCommon : kIndividual),
        line(kClientCode, main.client_code.text),
        line(kFirm, main.firmid.text),
        line(kAccount, main.account.text),
        line(kConFolder, main.ConFolder.text),
        line(kDescFolder, main.DescFolder.text),
        line(kPortfelFolder, main.PortfelFolder.text),
        line(kMessFolder, main.MessFolder.text),
        line(kInterval, std::to_string(main.TimeInterval.value)),
        line(kMailHost, mail.mailhost.text),
        line(kReturnAddress, mail.MailReceipt.text),
        line(kSubject, mail.MailSubject.text),
        line(kAuthentication, mail.MailAut.checked ? "1" : "0"),
        line(kLogin, mail.maillogin.text),
        line(kPassword, mail.mailpassword.text),
    };
    addAlertLines(main, lines);
    addCandleFileLines(main, lines);
    if (!isBlank(main.TableFiles))
        for (const auto& row : main.TableFiles.rows)
            lines.push_back(line(kWatchFile, watch::formatWatchValue({row[0], row[1], row[2]})));
    return lines;
}

void applyMailSettingsLine(std::string_view text, TForm2& mail) {
    const std::pair<std::string_view, Edit*> edits[] = {
        {kReturnAddress, &mail.MailReceipt},
        {kSubject, &mail.MailSubject},
        {kLogin, &mail.maillogin},
        {kPassword, &mail.mailpassword},
    };
    for (const auto& [key, edit] : edits)
        if (const auto value = valueAfter(text, key))
            edit->text = std::string(*value);
    if (const auto value = valueAfter(text, kMailHost))
        mail.mailhost.text = std::string(*value);
    if (const auto value = valueAfter(text, kAuthentication))
        mail.MailAut.checked = *value == "1";
}

void applySettingsLine(std::string_view text, TForm1& main, TForm2& mail) {
    const auto valueOf = [&](std::string_view key) { return valueAfter(text, key); };
    if (valueOf(kClientChoice)) {
        const bool individual = text.find(line(kClientChoice, kIndividual)) != std::string_view::npos;
        main.ClientConfigInd.checked = individual;
        main.ClientConfigAll.checked = !individual;
    }
    const std::pair<std::string_view, Edit*> edits[] = {
        {kClientCode, &main.client_code}, {kFirm, &main.firmid},
        {kAccount, &main.account},        {kConFolder, &main.ConFolder},
        {kDescFolder, &main.DescFolder},  {kPortfelFolder, &main.PortfelFolder},
        {kMessFolder, &main.MessFolder},
    };
    for (const auto& [key, edit] : edits)
        if (const auto value = valueOf(key))
            edit->text = std::string(*value);
    applyMailSettingsLine(text, mail);
    if (const auto value = valueOf(kWatchFile))
        addWatchRow(main.TableFiles, *value);
    applyCandleFileLine(text, main);
    applyAlertLine(text, main);
    if (const auto value = valueOf(kInterval))
        setInterval(main, *value);
}

std::vector<SkippedSettingsLine> applySettingsFile(std::string_view bytes, TForm1& main, TForm2& mail) {
    std::vector<SkippedSettingsLine> skipped;
    const auto lines = text::splitSettingsLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            applySettingsLine(lines[i], main, mail);
        } catch (const Error& error) {
            skipped.push_back({i + 1, error.what()});
        }
    }
    return skipped;
}

std::string skippedLinesMessage(std::string_view path, const std::vector<SkippedSettingsLine>& skipped) {
    std::string message = std::string("Ошибка в файле настроек "_cp) + std::string(path) + ":";
    for (const auto& line : skipped)
        message += std::string("\nстрока "_cp) + std::to_string(line.number) + ": " + line.reason;
    message += skipped.size() == 1 ? "\nЭта строка пропущена, остальные строки прочитаны."_cp
                                   : "\nЭти строки пропущены, остальные строки прочитаны."_cp;
    return message;
}

} // namespace zorvant::app
