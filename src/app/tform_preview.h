#pragma once
// The window "Проверка на истории" as a plain object: the chart lines the conditions read, each with
// its candle file; the run of the portfolio's script over them, which the view hands to a worker
// thread; and the result: the lines the script would write, the chart with a marker on each candle a
// line is written on, and why the chosen line was written. Texts are Windows-1251.
#include "app/controls.h"
#include "app/preview_run.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace zorvant::app {

class TForm1;

// The job of a run: the script "Генерировать скрипт QPL" writes for the form's portfolio (its messages
// are shown as that command shows them, and it becomes the script the window shows), the Conditions to
// explain and the first chart they name. Nothing when the list is refused.
std::optional<PreviewJob> portfolioPreviewJob(TForm1& form, std::vector<LineFile> files);

class TFormPreview {
public:
    explicit TFormPreview(TForm1& main);

    // On showing: the chart lines the conditions read, each with the file chosen for it before.
    void FormShow();
    // "Файл свечей…": a candle file for the current row.
    void FileButtonClick();
    // "Проверить": the job for the worker, or nothing when a line has no file (a message says which).
    std::optional<PreviewJob> StartButtonClick();
    // "Прервать": the worker stops before its next recalculation and reports what it has.
    void CancelButtonClick();
    void RunProgress(std::size_t done, std::size_t total);
    void RunFinished(PreviewResult result);
    // A row of the result's lines, or a marker on the chart (the first line on that candle).
    void LinesClick(int row);
    void MarkerClick(int candle);

    std::vector<LineFile> Files;
    int FilesRow = 0;
    Button FileButton;
    Button StartButton;
    Button CancelButton;
    ProgressBar Progress;
    Label Status;
    PreviewResult Result;
    int LinesRow = -1;
    // Why the chosen line was written; empty when none is chosen.
    std::vector<ConditionExplanation> Explanation;

private:
    TForm1& main_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

} // namespace zorvant::app
