#include "ui/preview_dialog.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "ui/preview_chart.h"
#include "ui/preview_files_table.h"
#include "ui/preview_lines_model.h"
#include "ui/widget_sync.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

constexpr QSize kDialogSize(980, 700);
const QColor kHeld(232, 245, 233);

QTableWidgetItem* cell(const std::string& cp1251) {
    auto* item = new QTableWidgetItem(qt(cp1251));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setToolTip(item->text());
    return item;
}

void compactRows(QTableView* table) {
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
}

} // namespace

PreviewDialog::PreviewDialog(app::TFormPreview& form, HandlerRunner& runner, QWidget* parent)
    : QDialog(parent), form_(form), runner_(runner) {
    setObjectName("FormPreview");
    setWindowTitle(qt("Проверка на истории"_cp));
    setSizeGripEnabled(true);
    Progress = new QProgressBar;
    Progress->setObjectName("Progress");
    Status = new QLabel;
    Status->setObjectName("Status");
    Status->setWordWrap(true);
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filesRow());
    layout->addWidget(Progress);
    layout->addWidget(Status);
    layout->addWidget(resultArea(), 1);
    resize(kDialogSize);
    worker_.setMaxThreadCount(1);
    runner_.addView([this] { refresh(); });
}

PreviewDialog::~PreviewDialog() {
    stopWorker();
}

QPushButton* PreviewDialog::button(const char* name, void (app::TFormPreview::*handler)()) {
    auto* button = new QPushButton;
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, handler] { runner_.run([&] { (form_.*handler)(); }); });
    return button;
}

QWidget* PreviewDialog::filesRow() {
    Files = new PreviewFilesTable(form_.Files, form_.FilesRow);
    compactRows(Files);
    Files->setMaximumHeight(Files->horizontalHeader()->sizeHint().height() +
                            4 * Files->verticalHeader()->defaultSectionSize());
    connect(Files, &QTableWidget::cellDoubleClicked, this,
            [this] { runner_.run([this] { form_.FileButtonClick(); }); });
    FileButton = button("FileButton", &app::TFormPreview::FileButtonClick);
    CancelButton = button("CancelButton", &app::TFormPreview::CancelButtonClick);
    StartButton = new QPushButton;
    StartButton->setObjectName("StartButton");
    StartButton->setDefault(true);
    connect(StartButton, &QPushButton::clicked, this, &PreviewDialog::start);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FileButton);
    buttons->addWidget(StartButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Files, 1);
    layout->addLayout(buttons);
    return row;
}

QWidget* PreviewDialog::resultArea() {
    Chart = new PreviewChart;
    connect(Chart, &PreviewChart::markerClicked, this,
            [this](int candle) { runner_.run([&] { form_.MarkerClick(candle); }); });

    linesModel_ = new PreviewLinesModel(form_.Result.lines, this);
    Lines = new QTableView;
    Lines->setObjectName("Lines");
    Lines->setModel(linesModel_);
    Lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lines->setSelectionMode(QAbstractItemView::SingleSelection);
    compactRows(Lines);
    Lines->setWordWrap(false);
    Lines->horizontalHeader()->setStretchLastSection(true);
    Lines->setColumnWidth(0, Lines->fontMetrics().horizontalAdvance("00.00.0000 00:00:00") + 16);
    connect(Lines->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!refreshing_)
                    runner_.run([&] { form_.LinesClick(current.row()); });
            });

    Explanation = new QTableWidget(0, 4);
    Explanation->setObjectName("Explanation");
    Explanation->setHorizontalHeaderLabels(
        {qt("№"_cp), qt("Условие"_cp), qt("Выполнено"_cp), qt("Значения"_cp)});
    compactRows(Explanation);
    Explanation->horizontalHeader()->setStretchLastSection(true);
    Explanation->setWordWrap(false);

    auto* all = new QSplitter(Qt::Vertical);
    all->addWidget(Chart);
    all->addWidget(Lines);
    all->addWidget(Explanation);
    all->setSizes({340, 150, 120});
    return all;
}

void PreviewDialog::showEvent(QShowEvent* event) {
    runner_.run([this] { form_.FormShow(); });
    showResult();
    QDialog::showEvent(event);
}

void PreviewDialog::done(int result) {
    stopWorker();
    QDialog::done(result);
}

void PreviewDialog::start() {
    std::optional<app::PreviewJob> job;
    runner_.run([&] { job = form_.StartButtonClick(); });
    showResult();
    if (job)
        runOnWorker(std::move(*job));
}

void PreviewDialog::runOnWorker(app::PreviewJob job) {
    running_ = true;
    worker_.start([this, job = std::move(job)] {
        const auto progress = [this](std::size_t done, std::size_t total) {
            QMetaObject::invokeMethod(
                this,
                [this, done, total] {
                    form_.RunProgress(done, total);
                    refresh();
                },
                Qt::QueuedConnection);
        };
        auto result = std::make_shared<app::PreviewResult>();
        try {
            *result = app::runPreview(job, progress);
        } catch (const Error& error) {
            result->failure = error.what();
        } catch (const std::exception& error) {
            result->failure = text::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
}

void PreviewDialog::finish(const std::shared_ptr<app::PreviewResult>& result) {
    running_ = false;
    runner_.run([&] { form_.RunFinished(std::move(*result)); });
    showResult();
}

void PreviewDialog::stopWorker() {
    if (!running_)
        return;
    form_.CancelButtonClick();
    worker_.waitForDone();
}

void PreviewDialog::showResult() {
    linesModel_->reload();
    Chart->setChart(form_.Result.chart ? &*form_.Result.chart : nullptr, form_.Result.markers);
    refresh();
}

void PreviewDialog::refresh() {
    Files->refresh();
    display(FileButton, form_.FileButton);
    display(StartButton, form_.StartButton);
    display(CancelButton, form_.CancelButton);
    Progress->setVisible(form_.Progress.visible);
    Progress->setRange(0, static_cast<int>(std::max<std::size_t>(form_.Progress.maximum, 1)));
    Progress->setValue(static_cast<int>(form_.Progress.position));
    display(Status, form_.Status);

    const int row = form_.LinesRow;
    const bool markerKnown = row >= 0 && row < static_cast<int>(form_.Result.markers.size());
    Chart->setSelected(markerKnown ? form_.Result.markers[static_cast<std::size_t>(row)] : -1);
    if (Lines->currentIndex().row() != row) {
        refreshing_ = true;
        Lines->setCurrentIndex(linesModel_->index(row, 0));
        Lines->scrollTo(linesModel_->index(row, 0));
        refreshing_ = false;
    }
    refreshExplanation();
}

void PreviewDialog::refreshExplanation() {
    Explanation->setRowCount(static_cast<int>(form_.Explanation.size()));
    for (int row = 0; row < Explanation->rowCount(); ++row) {
        const app::ConditionExplanation& condition = form_.Explanation[static_cast<std::size_t>(row)];
        const std::string cells[] = {std::to_string(condition.number), condition.text,
                                     app::heldText(condition.held), app::valuesText(condition)};
        for (int column = 0; column < 4; ++column) {
            QTableWidgetItem* item = cell(cells[column]);
            if (condition.held)
                item->setBackground(kHeld);
            Explanation->setItem(row, column, item);
        }
    }
    Explanation->resizeColumnsToContents();
}

} // namespace zorvant::ui
