#pragma once
// "Проверка на истории": the candle file of each chart line, the run of the portfolio's script on a
// worker thread with its progress and "Прервать", and the result: the chart with its markers, the
// lines the script would write, and why the chosen line was written.
#include "app/tform_preview.h"
#include "ui/handler_runner.h"

#include <QDialog>
#include <QThreadPool>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;

namespace zorvant::ui {

class PreviewChart;
class PreviewFilesTable;
class PreviewLinesModel;

class PreviewDialog : public QDialog {
    Q_OBJECT

public:
    PreviewDialog(app::TFormPreview& form, HandlerRunner& runner, QWidget* parent = nullptr);
    // A run still going is stopped and waited for.
    ~PreviewDialog() override;
    void refresh();
    bool running() const { return running_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* filesRow();
    QWidget* resultArea();
    QPushButton* button(const char* name, void (app::TFormPreview::*handler)());
    void start();
    void runOnWorker(app::PreviewJob job);
    void finish(const std::shared_ptr<app::PreviewResult>& result);
    void stopWorker();
    // The lines and the chart of a result that has just replaced the previous one.
    void showResult();
    void refreshExplanation();

    app::TFormPreview& form_;
    HandlerRunner& runner_;
    PreviewFilesTable* Files;
    QPushButton* FileButton;
    QPushButton* StartButton;
    QPushButton* CancelButton;
    QProgressBar* Progress;
    QLabel* Status;
    PreviewChart* Chart;
    PreviewLinesModel* linesModel_;
    QTableView* Lines;
    QTableWidget* Explanation;
    QThreadPool worker_;
    bool running_ = false;
    // While the view copies the chosen line from the model, its own selection signal is not input.
    bool refreshing_ = false;
};

} // namespace zorvant::ui
