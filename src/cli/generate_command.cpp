#include "cli/generate_command.h"

#include "app/settings_file.h"
#include "app/tform1.h"
#include "cli/headless_window.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <optional>
#include <ostream>

namespace zorvant::cli {
namespace {

constexpr std::string_view kUsage = "generate ВХОД [--settings ФАЙЛ] [--output ФАЙЛ]  скрипт QPL из описания "
                                    "портфеля (*.xml) или файла условий (*.con)";

// File names are kept as Windows-1251, as every other text of the program.
struct Options {
    std::string input;
    std::optional<std::string> settingsFile;
    std::optional<std::string> output;
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--settings" && hasValue) {
            options.settingsFile = text::fromUtf8(args[++i]);
        } else if (args[i] == "--output" && hasValue) {
            options.output = text::fromUtf8(args[++i]);
        } else if (options.input.empty() && !args[i].starts_with("--")) {
            options.input = text::fromUtf8(args[i]);
        } else {
            err << "zorvant-cli generate: непонятный аргумент «" << args[i]
                << "». Использование: zorvant-cli " << kUsage << '\n';
            return std::nullopt;
        }
    }
    if (options.input.empty()) {
        err << "zorvant-cli generate: не указан входной файл. Использование: zorvant-cli " << kUsage << '\n';
        return std::nullopt;
    }
    return options;
}

// The settings file named, or else the one beside the executable when there is one. As at start-up,
// a damaged line is reported and skipped alone.
void loadClientSettings(const std::optional<std::string>& named, app::TForm1& form1, app::TForm2& form2,
                        std::ostream& err) {
    const std::string beside = platform::programFolder() + std::string(app::kSettingsFileName);
    if (!named && !platform::plainFileExists(beside))
        return;
    const std::string path = named.value_or(beside);
    const auto skipped = app::applySettingsFile(platform::readFile(path), form1, form2);
    if (!skipped.empty())
        err << "zorvant-cli generate: " << text::toUtf8(app::skippedLinesMessage(path, skipped)) << '\n';
}

} // namespace

std::string_view GenerateCommand::usage() const {
    return kUsage;
}

int GenerateCommand::run(const std::vector<std::string>& args, Streams streams) {
    const auto options = parseOptions(args, streams.err);
    if (!options)
        return 2;
    if (!isPortfolioFile(options->input)) {
        streams.err << "zorvant-cli generate: " << text::toUtf8(options->input)
                    << ": ожидается описание портфеля *.xml или файл условий *.con\n";
        return 2;
    }
    HeadlessWindow window(streams.err);
    app::TForm1& form = window.form1;
    try {
        loadClientSettings(options->settingsFile, form, window.form2, streams.err);
        loadPortfolio(window, options->input);
        // A refused list has been reported on err; no file is written.
        if (!form.generateScriptText())
            return 1;
        window.dialogs.fileAnswers = {options->output};
        form.N13Click();
    } catch (const Error& error) {
        streams.err << "zorvant-cli generate: " << text::toUtf8(error.what()) << '\n';
        return 1;
    }
    if (!options->output)
        for (const auto& line : form.ScriptText.lines)
            streams.out << text::toUtf8(line) << '\n';
    return 0;
}

} // namespace zorvant::cli
