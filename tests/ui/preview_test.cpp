// "Проверка на истории" over the example portfolio and its candle files: the window runs the same
// script as zorvant-cli simulate on a worker, marks the candles simulate prints lines for, and shows
// the same explanation as simulate --explain.
#include "app/tform_preview.h"
#include "sim/calendar.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "ui/preview_chart.h"
#include "ui/preview_dialog.h"
#include "ui_fixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace zorvant;
using namespace zorvant::testing;

namespace {

const std::string kExamples = ZORVANT_EXAMPLES;

std::vector<std::string> exampleLines() {
    return {"PRICE:0=" + kExamples + "/candles/price0_5min.txt",
            "PRICE:1=" + kExamples + "/candles/price1_5min.txt",
            "RSI:0=" + kExamples + "/candles/rsi0_day.txt"};
}

QStringList simulateOutput(bool explain) {
    std::vector<std::string> args = {"simulate", kExamples + "/portfel.xml"};
    for (const std::string& line : exampleLines())
        args.insert(args.end(), {"--line", line});
    if (explain)
        args.push_back("--explain");
    const CliResult result = runCliCaptured(args);
    return QString::fromStdString(result.out).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void theMenuAndTheScriptPageOpenThePreview() {
        UiFixture ui;
        ui.start();
        chooseMenu(ui.window.get(), u("Портфель"), u("Проверить на истории"));
        QTRY_COMPARE(ui.forms->dialogs.historyPreviewShown, 1);
        click(ui.find<QPushButton>("HistoryPreviewButton"));
        QCOMPARE(ui.forms->dialogs.historyPreviewShown, 2);
    }

    void marksTheCandlesSimulatePrintsAndExplainsThemAlike() {
        UiFixture ui;
        ui.start();
        app::TForm1& form = ui.forms->form1;
        ui.forms->dialogs.fileAnswers = {text::fromUtf8(kExamples + "/portfel.xml")};
        form.N11Click();
        for (const std::string& line : exampleLines())
            form.CandleFiles.push_back(*app::parseLineFile(text::fromUtf8(line)));
        app::TFormPreview preview(form);
        ui::PreviewDialog dialog(preview, *ui.runner, ui.window.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        click(dialog.findChild<QPushButton*>("StartButton"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 20000);
        QVERIFY2(preview.Result.failure.empty(), preview.Result.failure.c_str());

        // Each marker stands on the candle whose last second is the moment simulate prints.
        const QStringList printed = simulateOutput(false);
        QVERIFY(printed.size() >= 3);
        auto* chart = dialog.findChild<ui::PreviewChart*>("Chart");
        const sim::ChartLine& price = preview.Result.chart->lines.front();
        QStringList marked;
        for (const int candle : chart->markers()) {
            const sim::Moment end =
                sim::lastSecondOf(price.candles[static_cast<std::size_t>(candle)].start, price.period);
            marked << QString::fromStdString(sim::dateText(end.date) + ' ' + sim::timeText(end.time));
        }
        QStringList printedMoments;
        for (const QString& line : printed)
            printedMoments << line.section('\t', 0, 0);
        QCOMPARE(marked, printedMoments);
        auto* lines = dialog.findChild<QTableView*>("Lines");
        QCOMPARE(lines->model()->rowCount(), printed.size());
        QCOMPARE(lines->model()->index(0, 1).data().toString(), printed[0].section('\t', 1));

        // Clicking the second marker shows why the second line was written, as --explain prints it.
        const auto point = chart->markerPoint(chart->markers()[1]);
        QVERIFY(point.has_value());
        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, *point);
        QCOMPARE(lines->currentIndex().row(), 1);
        const QStringList explained = simulateOutput(true);
        const int conditions = explained.indexOf(printed[1]) + 1;
        auto* table = dialog.findChild<QTableWidget*>("Explanation");
        QCOMPARE(table->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            const QString shown = QString("  %1. %2: %3; %4")
                                      .arg(table->item(row, 0)->text(), table->item(row, 1)->text(),
                                           table->item(row, 2)->text(), table->item(row, 3)->text());
            QCOMPARE(shown, explained[conditions + row]);
        }
        QVERIFY(dialog.findChild<QLabel*>("Status")->text().startsWith(u("Пересчётов: ")));

        // Choosing the last line brings its marker into view.
        QVERIFY(!chart->markerPoint(chart->markers().back()).has_value());
        lines->setCurrentIndex(lines->model()->index(printed.size() - 1, 0));
        QVERIFY(chart->markerPoint(chart->markers().back()).has_value());
    }

    void cancelStopsALongRunOnItsWorker() {
        UiFixture ui;
        TempFolder data;
        std::string candles;
        for (int day = 0; day < 1000; ++day)
            for (int minute = 0; minute < 100; ++minute)
                candles += "SBER,1," +
                           std::to_string(20000101 + day % 28 + day / 28 % 12 * 100 + day / 336 * 10000) +
                           "," + std::to_string(100000 + minute / 60 * 10000 + minute % 60 * 100) +
                           ",1,1,1,1,1\r\n";
        data.write("long.txt", candles);
        app::TForm1& form = ui.forms->form1;
        ui.forms->dialogs.fileAnswers = {text::fromUtf8(kExamples + "/portfel.xml")};
        form.N11Click();
        form.CandleFiles = {{"PRICE", 0, data.file("long.txt")},
                            {"PRICE", 1, data.file("long.txt")},
                            {"RSI", 0, data.file("long.txt")}};
        app::TFormPreview preview(form);
        ui::PreviewDialog dialog(preview, *ui.runner, ui.window.get());
        dialog.show();
        click(dialog.findChild<QPushButton*>("StartButton"));
        QVERIFY(dialog.running());
        QVERIFY(dialog.findChild<QProgressBar*>("Progress")->isVisible());
        click(dialog.findChild<QPushButton*>("CancelButton"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 20000);
        QVERIFY(preview.Result.cancelled);
        QVERIFY(preview.Result.recalculations < 100000);
        QVERIFY(dialog.findChild<QLabel*>("Status")->text().startsWith(u("Прервано. Пересчётов: ")));
        QVERIFY(dialog.findChild<QPushButton*>("StartButton")->isEnabled());
    }
};

std::vector<std::unique_ptr<QObject>> makePreviewTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<PreviewTest>());
    return tests;
}

#include "preview_test.moc"
