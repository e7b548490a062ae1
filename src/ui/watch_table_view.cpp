#include "ui/watch_table_view.h"

#include "text/cp1251.h"
#include "ui/images.h"
#include "ui/widget_sync.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

constexpr int kRowHeight = 20;

QFrame* headerPanel(const char* name, const char* labelName, std::string_view caption, QLabel** label) {
    auto* panel = new QFrame;
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* text = new QLabel(qt(caption));
    text->setObjectName(labelName);
    layout->addWidget(text);
    if (label != nullptr)
        *label = text;
    return panel;
}

} // namespace

WatchTableView::WatchTableView(app::TForm1& form, HandlerRunner& runner, QWidget* parent)
    : QGroupBox(qt(" Отслеживание файлов сообщений "_cp), parent), form_(form), runner_(runner) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addWidget(intervalRow());
    layout->addWidget(headersAndEditors());
    TableFiles = new QTableWidget(1, 3);
    TableFiles->setObjectName("TableFiles");
    TableFiles->horizontalHeader()->hide();
    TableFiles->verticalHeader()->hide();
    TableFiles->verticalHeader()->setDefaultSectionSize(kRowHeight);
    TableFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    TableFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableFiles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TableFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(TableFiles, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            form_.TableFiles.row = row;
    });
    layout->addWidget(TableFiles, 1);
}

void WatchTableView::call(void (app::TForm1::*handler)()) {
    runner_.run([this, handler] { (form_.*handler)(); });
}

QToolButton* WatchTableView::button(const char* name, void (app::TForm1::*handler)()) {
    auto* pick = new QToolButton;
    pick->setObjectName(name);
    connect(pick, &QToolButton::clicked, this, [this, handler] { call(handler); });
    return pick;
}

QWidget* WatchTableView::intervalRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString before = qt("Отслеживать файлы каждые "_cp);
    auto* Label16 = new QLabel(qt("Отслеживать файлы каждые                     с."_cp));
    Label16->setObjectName("Label16");
    // The interval field sits in the gap of its caption.
    TimeInterval = new QSpinBox(Label16);
    TimeInterval->setObjectName("TimeInterval");
    const QFontMetrics metrics(Label16->font());
    const int gapStart = metrics.horizontalAdvance(before);
    const int gapWidth = metrics.horizontalAdvance(QString(20, ' '));
    TimeInterval->setGeometry(gapStart, 0, gapWidth, metrics.height() + 8);
    Label16->setMinimumHeight(metrics.height() + 8);
    takeInput(TimeInterval, form_.TimeInterval, [this] { call(&app::TForm1::TimeIntervalChange); });
    layout->addWidget(Label16);
    layout->addStretch(1);
    SpeedButton7 = button("SpeedButton7", &app::TForm1::SpeedButton7Click);
    SpeedButton7->setToolTip(qt("Добавить запись"_cp));
    auto* SpeedButton12 = button("SpeedButton12", &app::TForm1::SpeedButton12Click);
    SpeedButton12->setToolTip(qt("Редактировать запись"_cp));
    SpeedButton12->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    auto* SpeedButton10 = button("SpeedButton10", &app::TForm1::SpeedButton10Click);
    SpeedButton10->setToolTip(qt("Удалить запись"_cp));
    SpeedButton10->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    layout->addWidget(SpeedButton7);
    layout->addWidget(SpeedButton12);
    layout->addWidget(SpeedButton10);
    return row;
}

QWidget* WatchTableView::headersAndEditors() {
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    Shape2 = headerPanel("Shape2", "Label17", "Если есть файл сообщения"_cp, nullptr);
    Shape3 = headerPanel("Shape3", "Label18", "выполнить действие"_cp, nullptr);
    Shape6 = headerPanel("Shape6", "Label19", "над файлом"_cp, &Label19);
    // The designed widths are the least the panels take, and the share each gets of a wider window.
    const int widths[] = {form_.Shape2.width, form_.Shape3.width, form_.Shape6.width};
    QFrame* panels[] = {Shape2, Shape3, Shape6};
    for (int column = 0; column < 3; ++column) {
        panels[column]->setMinimumWidth(column < 2 ? widths[column] : 0);
        panels[column]->installEventFilter(this);
        grid->addWidget(panels[column], 0, column);
        grid->setColumnStretch(column, widths[column]);
    }
    DoChoise = new QComboBox;
    DoChoise->setObjectName("DoChoise");
    takeInput(DoChoise, form_.DoChoise, [this] { call(&app::TForm1::DoChoiseChange); });
    grid->addWidget(fileEditor(), 1, 0);
    grid->addWidget(DoChoise, 1, 1);
    grid->addWidget(targetEditor(), 1, 2);
    return area;
}

QWidget* WatchTableView::fileEditor() {
    LookFileName = new QLineEdit;
    LookFileName->setObjectName("LookFileName");
    takeInput(LookFileName, form_.LookFileName);
    auto* file = new QWidget;
    auto* layout = new QHBoxLayout(file);
    layout->setContentsMargins(0, 0, 2, 0);
    layout->setSpacing(0);
    layout->addWidget(LookFileName, 1);
    auto* SpeedButton5 = button("SpeedButton5", &app::TForm1::SpeedButton5Click);
    SpeedButton5->setText("...");
    layout->addWidget(SpeedButton5);
    return file;
}

QWidget* WatchTableView::targetEditor() {
    ExeFileName = new QLineEdit;
    ExeFileName->setObjectName("ExeFileName");
    takeInput(ExeFileName, form_.ExeFileName);
    SpeedButton6 = button("SpeedButton6", &app::TForm1::SpeedButton6Click);
    SpeedButton6->setText("...");
    auto* target = new QWidget;
    auto* layout = new QHBoxLayout(target);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ExeFileName, 1);
    layout->addWidget(SpeedButton6);
    return target;
}

bool WatchTableView::eventFilter(QObject* watched, QEvent* event) {
    // Queued, so that the handler and the refresh after it run once the layout change is complete
    // (a resize also happens in the middle of switching pages).
    const bool panel = watched == Shape2 || watched == Shape3 || watched == Shape6;
    if (panel && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                form_.Shape2.width = Shape2->width();
                form_.Shape3.width = Shape3->width();
                form_.Shape6.width = Shape6->width();
                call(&app::TForm1::FormResize);
            },
            Qt::QueuedConnection);
    }
    return QGroupBox::eventFilter(watched, event);
}

void WatchTableView::refreshGrid() {
    const auto& grid = form_.TableFiles;
    const QSignalBlocker blocker(TableFiles);
    TableFiles->setRowCount(static_cast<int>(grid.rows.size()));
    for (int r = 0; r < TableFiles->rowCount(); ++r) {
        for (int c = 0; c < 3; ++c) {
            const QString text = qt(grid.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            QTableWidgetItem* item = TableFiles->item(r, c);
            if (item == nullptr)
                TableFiles->setItem(r, c, new QTableWidgetItem(text));
            else if (item->text() != text)
                item->setText(text);
        }
    }
    for (int c = 0; c < 3; ++c)
        TableFiles->setColumnWidth(c, grid.colWidths[static_cast<std::size_t>(c)]);
    TableFiles->setCurrentCell(grid.row, 0);
    TableFiles->setEnabled(grid.enabled);
    QPalette colours = TableFiles->palette();
    const QColor background = qtColour(grid.colour, QApplication::palette());
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Base, background);
    TableFiles->setPalette(colours);
}

void WatchTableView::refresh() {
    display(TimeInterval, form_.TimeInterval);
    Label19->setText(qt(form_.Label19.caption));
    display(LookFileName, form_.LookFileName);
    display(DoChoise, form_.DoChoise);
    display(ExeFileName, form_.ExeFileName);
    SpeedButton6->setVisible(form_.SpeedButton6.visible);
    SpeedButton7->setIcon(QIcon(buttonImage(form_.SpeedButton7.imageIndex)));
    refreshGrid();
}

} // namespace zorvant::ui
