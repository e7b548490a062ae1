#include "cli/mail_test_command.h"

#include "app/settings_file.h"
#include "app/tform2.h"
#include "cli/answering_dialogs.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <optional>
#include <ostream>

namespace zorvant::cli {
namespace {

// The settings file named by the arguments (UTF-8), or nothing when they make no sense.
std::optional<std::string> settingsFileOf(const std::vector<std::string>& args) {
    if (args.empty())
        return platform::programFolder() + std::string(app::kSettingsFileName);
    if (args.size() == 2 && args[0] == "--settings" && !args[1].empty())
        return text::fromUtf8(args[1]);
    return std::nullopt;
}

} // namespace

std::string_view MailTestCommand::usage() const {
    return "mail-test [--settings ФАЙЛ]  проверка соединения с почтовым сервером из файла настроек";
}

int MailTestCommand::run(const std::vector<std::string>& args, Streams streams) {
    const auto settingsFile = settingsFileOf(args);
    if (!settingsFile) {
        streams.err << "Использование: zorvant-cli " << usage() << '\n';
        return 2;
    }
    AnsweringDialogs dialogs(streams.out);
    watch::SmtpMailSender sender(options_);
    app::TForm2 form(dialogs, sender);
    try {
        for (const auto& line : text::splitSettingsLines(platform::readFile(*settingsFile)))
            app::applyMailSettingsLine(line, form);
    } catch (const Error& error) {
        streams.err << text::toUtf8(error.what()) << '\n';
        return 1;
    }
    return form.BitBtn2Click() ? 0 : 1;
}

} // namespace zorvant::cli
