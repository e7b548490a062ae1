#include "cli/watch_command.h"

#include "app/settings_file.h"
#include "app/tform1.h"
#include "cli/answering_dialogs.h"
#include "cli/report_line.h"
#include "cli/stop_signals.h"
#include "platform/platform.h"
#include "platform/services.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <chrono>
#include <optional>
#include <ostream>

namespace zorvant::cli {
namespace {

struct Options {
    std::string settingsFile; // Windows-1251
    bool once = false;
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
    Options options{platform::programFolder() + std::string(app::kSettingsFileName)};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--once") {
            options.once = true;
        } else if (args[i] == "--settings" && i + 1 < args.size()) {
            options.settingsFile = text::fromUtf8(args[++i]);
        } else {
            err << "zorvant-cli watch: непонятный аргумент «" << args[i]
                << "». Использование: zorvant-cli watch [--settings ФАЙЛ] [--once]\n";
            return std::nullopt;
        }
    }
    return options;
}

std::string folderOf(const std::string& file) {
    const auto separator = file.find_last_of(platform::kPathSeparators);
    return separator == std::string::npos ? std::string(".") + platform::kPathSeparator
                                          : file.substr(0, separator + 1);
}

// The windows without a screen, with the settings file's values in their controls.
struct HeadlessForms {
    HeadlessForms(const Options& options, std::ostream& err, watch::MailSender& mail)
        : dialogs(err), form2(dialogs, mail), form4("1.1"),
          form1({dialogs, platform::systemServices(), mail, folderOf(options.settingsFile),
                 platform::decimalSeparator()},
                form2, form4) {
        form1.FormCreate();
        // As at start-up, a damaged line is reported and skipped alone.
        const auto skipped = app::applySettingsFile(platform::readFile(options.settingsFile), form1, form2);
        if (!skipped.empty())
            err << "zorvant-cli watch: "
                << text::toUtf8(app::skippedLinesMessage(options.settingsFile, skipped)) << '\n';
        form1.TimeIntervalChange();
    }

    AnsweringDialogs dialogs;
    app::TForm2 form2;
    app::TForm4 form4;
    app::TForm1 form1;
};

// How often reports of deliveries are looked for between ticks.
constexpr std::chrono::milliseconds kLook(50);

// Actions go to standard output, errors to standard error. True when one of them was an error.
bool print(const std::vector<watch::TickReport>& reports, Streams streams) {
    bool failed = false;
    for (const auto& report : reports) {
        const bool error = report.kind == watch::TickReport::Kind::Error;
        (error ? streams.err : streams.out) << reportLine(report) << std::endl;
        failed = failed || error;
    }
    return failed;
}

// Ticks at the interval until a stop signal, or once; meanwhile the reports of deliveries are printed as
// they come. A stop cuts a send short: its message stays claimed for the next start. --once waits for
// the sends of its tick, within their own bounds, and fails when anything failed.
int watchLoop(app::TForm1& form, bool once, Streams streams) {
    StopSignals stop;
    watch::Watcher& watcher = form.watcher();
    bool failed = false;
    const auto printWaiting = [&] { failed = print(watcher.takeReports(), streams) || failed; };
    for (bool stopped = false; !stopped;) {
        if (const auto reports = watcher.tick(form.watchSnapshot()))
            failed = print(*reports, streams) || failed;
        if (once) {
            while (!watcher.waitForDeliveries(kLook) && !stop.requested())
                printWaiting();
            break;
        }
        const auto next =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(form.Timer1.intervalMs);
        while (!stopped && std::chrono::steady_clock::now() < next) {
            stopped = stop.waitFor(kLook);
            printWaiting();
        }
    }
    watcher.stopDeliveries();
    printWaiting();
    return once && failed ? 1 : 0;
}

} // namespace

WatchCommand::WatchCommand(std::unique_ptr<watch::MailSender> mail) : mail_(std::move(mail)) {}

std::string_view WatchCommand::usage() const {
    return "watch [--settings ФАЙЛ] [--once]  отслеживать файлы сообщений из таблицы файла настроек";
}

int WatchCommand::run(const std::vector<std::string>& args, Streams streams) {
    const auto options = parseOptions(args, streams.err);
    if (!options)
        return 2;
    try {
        HeadlessForms forms(*options, streams.err, *mail_);
        return watchLoop(forms.form1, options->once, streams);
    } catch (const Error& error) {
        streams.err << "zorvant-cli watch: " << text::toUtf8(error.what()) << '\n';
        return 1;
    }
}

} // namespace zorvant::cli
