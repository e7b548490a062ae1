#pragma once
// The price chart of "Проверка на истории", drawn with QPainter: line 0 of the chart as candles, its
// other lines as close lines, and a marker over each candle a message line was written on. It scrolls
// sideways a candle at a time; the price scale fits the candles in view. Clicking a marker reports its
// candle.
#include "sim/candle_store.h"

#include <QAbstractScrollArea>
#include <optional>
#include <vector>

namespace zorvant::ui {

class PreviewChart : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit PreviewChart(QWidget* parent = nullptr);

    // The chart (not owned; null for none) and the line-0 candles to mark (-1 stands for none).
    void setChart(const sim::Chart* chart, const std::vector<int>& markedCandles);
    // Highlights that candle's marker and scrolls it into view; -1 for none.
    void setSelected(int candle);
    // The marked candles, each once, in time order.
    const std::vector<int>& markers() const { return markers_; }
    // Where a candle's marker is drawn in the viewport; nothing when it is not in view.
    std::optional<QPoint> markerPoint(int candle) const;

signals:
    void markerClicked(int candle);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Scale {
        double low = 0;
        double high = 1;
        int top = 0;
        int bottom = 1;
        int y(double price) const;
    };

    const std::vector<sim::Candle>& candles() const;
    int first() const;
    int end() const;
    int visibleCount() const;
    int centreX(int candle) const;
    Scale scale() const;
    void updateScrollRange();
    void drawGrid(QPainter& painter, const Scale& scale) const;
    void drawDates(QPainter& painter) const;
    void drawCandles(QPainter& painter, const Scale& scale) const;
    void drawLines(QPainter& painter, const Scale& scale) const;
    void drawMarkers(QPainter& painter, const Scale& scale) const;
    void drawLegend(QPainter& painter) const;

    const sim::Chart* chart_ = nullptr;
    std::vector<int> markers_;
    int selected_ = -1;
};

} // namespace zorvant::ui
