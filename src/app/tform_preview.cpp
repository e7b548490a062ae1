#include "app/tform_preview.h"

#include "app/tform1.h"
#include "text/cp1251.h"
#include "text/lines.h"

namespace zorvant::app {
using namespace text::literals;

namespace {

constexpr std::string_view kCandleFilter = "Файлы свечей (*.txt, *.csv)|*.txt;*.csv|Все файлы (*.*)|*.*"_cp;

std::string folderOf(std::string_view file) {
    const auto separator = file.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string() : std::string(file.substr(0, separator + 1));
}

std::string missingFileText(const LineFile& line) {
    return std::string("Не выбран файл свечей для линии "_cp) + std::to_string(line.line) +
           std::string(" графика "_cp) + line.chart + ".";
}

} // namespace

std::optional<PreviewJob> portfolioPreviewJob(TForm1& form, std::vector<LineFile> files) {
    if (!form.generateScriptText())
        return std::nullopt;
    PreviewJob job;
    job.scriptName = form.PortfelName.text + ".qpl";
    job.scriptText = text::joinCrLf(form.ScriptText.lines);
    job.files = std::move(files);
    job.probes = conditionProbes(form.ConditionsView.items);
    job.chart = firstChartOf(form.ConditionsView.items);
    return job;
}

TFormPreview::TFormPreview(TForm1& main) : main_(main) {
    FileButton.caption = "Файл свечей…"_cp;
    StartButton.caption = "Проверить"_cp;
    CancelButton.caption = "Прервать"_cp;
    CancelButton.enabled = false;
}

void TFormPreview::FormShow() {
    // A run still going when the window closed is given up.
    if (cancel_)
        cancel_->store(true);
    cancel_.reset();
    StartButton.enabled = true;
    CancelButton.enabled = false;
    Progress.visible = false;
    Files = chartLinesOf(main_.ConditionsView.items);
    for (LineFile& line : Files)
        for (const LineFile& kept : main_.CandleFiles)
            if (sameChartLine(kept, line))
                line.file = kept.file;
    FilesRow = 0;
    Result = {};
    LinesClick(-1);
    Status = {Files.empty() ? std::string("Условия не называют ни одного графика."_cp) : std::string()};
}

void TFormPreview::FileButtonClick() {
    if (FilesRow < 0 || FilesRow >= static_cast<int>(Files.size()))
        return;
    LineFile& line = Files[FilesRow];
    std::string folder = folderOf(line.file);
    if (folder.empty() && !main_.CandleFiles.empty())
        folder = folderOf(main_.CandleFiles.back().file);
    const FileDialogRequest request{folder.empty() ? main_.ProgramFolder : folder, "txt",
                                    std::string(kCandleFilter), line.file};
    if (const auto chosen = main_.environment().dialogs.openFile(request)) {
        line.file = *chosen;
        rememberLineFile(main_.CandleFiles, line);
    }
}

std::optional<PreviewJob> TFormPreview::StartButtonClick() {
    if (cancel_)
        return std::nullopt;
    for (const LineFile& line : Files) {
        if (line.file.empty()) {
            main_.environment().dialogs.showMessage(missingFileText(line));
            return std::nullopt;
        }
    }
    std::optional<PreviewJob> job = portfolioPreviewJob(main_, Files);
    if (!job)
        return std::nullopt;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    job->cancel = cancel_;
    Result = {};
    LinesClick(-1);
    StartButton.enabled = false;
    CancelButton.enabled = true;
    Progress = {0, 0, true};
    Status = {std::string("Идёт проверка…"_cp)};
    return job;
}

void TFormPreview::CancelButtonClick() {
    if (!cancel_)
        return;
    cancel_->store(true);
    CancelButton.enabled = false;
    Status = {std::string("Проверка прерывается…"_cp)};
}

void TFormPreview::RunProgress(std::size_t done, std::size_t total) {
    Progress.position = done;
    Progress.maximum = total;
}

void TFormPreview::RunFinished(PreviewResult result) {
    // A run given up when the window was shown again reports to nobody.
    if (!cancel_)
        return;
    Result = std::move(result);
    cancel_.reset();
    StartButton.enabled = true;
    CancelButton.enabled = false;
    Progress.visible = false;
    std::string status = Result.cancelled ? std::string("Прервано. "_cp) : std::string();
    if (Result.ran)
        status += summaryLine(Result);
    if (!Result.failure.empty())
        status += (status.empty() ? "" : "\n") + Result.failure;
    Status = {status, Result.failure.empty() ? Colour::windowText() : Colour{Colour::Kind::Rgb, 192, 0, 0}};
    LinesClick(Result.lines.empty() ? -1 : 0);
}

void TFormPreview::LinesClick(int row) {
    const bool valid = row >= 0 && row < static_cast<int>(Result.lines.size());
    LinesRow = valid ? row : -1;
    Explanation.clear();
    if (valid && row < static_cast<int>(Result.moments.size()))
        Explanation = explainMoment(Result.probes, Result.moments[row]);
}

void TFormPreview::MarkerClick(int candle) {
    for (std::size_t i = 0; i < Result.markers.size(); ++i)
        if (Result.markers[i] == candle) {
            LinesClick(static_cast<int>(i));
            return;
        }
}

} // namespace zorvant::app
