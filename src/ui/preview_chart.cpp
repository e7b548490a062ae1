#include "ui/preview_chart.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace zorvant::ui {
using namespace text::literals;

namespace {

constexpr int kStep = 8;        // pixels per candle
constexpr int kBody = 5;        // width of a candle's body
constexpr int kAxisWidth = 64;  // the price labels on the right
constexpr int kDateHeight = 18; // the date labels at the bottom
constexpr int kTop = 34;        // the legend and room for markers above the highest candle
constexpr int kMarkerGap = 4;   // between a candle's high and its marker
constexpr int kMarkerSize = 6;  // half the width of a marker
constexpr int kClickDistance = 9;
constexpr int kPriceTicks = 5;

const QColor kRising(46, 125, 50);
const QColor kFalling(198, 40, 40);
const QColor kGrid(232, 232, 232);
const QColor kMarker(255, 152, 0);
const QColor kSelectedMarker(213, 0, 0);

QColor lineColour(std::size_t line) {
    static const QColor colours[] = {QColor(21, 101, 192), QColor(106, 27, 154), QColor(0, 131, 143),
                                     QColor(239, 108, 0)};
    return colours[(line - 1) % std::size(colours)];
}

QString dateLabel(int yyyymmdd) {
    return QString("%1.%2")
        .arg(yyyymmdd % 100, 2, 10, QChar('0'))
        .arg(yyyymmdd / 100 % 100, 2, 10, QChar('0'));
}

// The close of another line at the candle of line 0, when that line has one there.
std::optional<double> closeAt(const sim::ChartLine& line, const sim::Candle& candle) {
    const auto found =
        std::lower_bound(line.candles.begin(), line.candles.end(), candle.start.key(),
                         [](const sim::Candle& other, long long key) { return other.start.key() < key; });
    if (found == line.candles.end() || !(found->start == candle.start))
        return std::nullopt;
    return found->close;
}

} // namespace

int PreviewChart::Scale::y(double price) const {
    const double share = high > low ? (price - low) / (high - low) : 0.5;
    return bottom - static_cast<int>(std::lround(share * (bottom - top)));
}

PreviewChart::PreviewChart(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("Chart");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setSingleStep(1);
    setMinimumHeight(200);
}

const std::vector<sim::Candle>& PreviewChart::candles() const {
    static const std::vector<sim::Candle> none;
    return chart_ != nullptr && !chart_->lines.empty() ? chart_->lines.front().candles : none;
}

int PreviewChart::first() const {
    return horizontalScrollBar()->value();
}

int PreviewChart::visibleCount() const {
    return std::max(1, (viewport()->width() - kAxisWidth) / kStep);
}

int PreviewChart::end() const {
    return std::min(static_cast<int>(candles().size()), first() + visibleCount());
}

int PreviewChart::centreX(int candle) const {
    return (candle - first()) * kStep + kStep / 2;
}

void PreviewChart::setChart(const sim::Chart* chart, const std::vector<int>& markedCandles) {
    std::vector<int> markers;
    for (const int candle : markedCandles)
        if (candle >= 0)
            markers.push_back(candle);
    std::sort(markers.begin(), markers.end());
    markers.erase(std::unique(markers.begin(), markers.end()), markers.end());
    chart_ = chart;
    markers_ = std::move(markers);
    selected_ = -1;
    updateScrollRange();
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
    viewport()->update();
}

void PreviewChart::setSelected(int candle) {
    if (candle == selected_)
        return;
    selected_ = candle;
    if (candle >= 0 && (candle < first() || candle >= end()))
        horizontalScrollBar()->setValue(candle - visibleCount() / 2);
    viewport()->update();
}

void PreviewChart::updateScrollRange() {
    QScrollBar* bar = horizontalScrollBar();
    bar->setPageStep(visibleCount());
    bar->setRange(0, std::max(0, static_cast<int>(candles().size()) - visibleCount()));
}

void PreviewChart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

PreviewChart::Scale PreviewChart::scale() const {
    Scale scale;
    scale.top = kTop;
    scale.bottom = std::max(kTop + 1, viewport()->height() - kDateHeight - 4);
    double low = INFINITY;
    double high = -INFINITY;
    for (int i = first(); i < end(); ++i) {
        const sim::Candle& candle = candles()[static_cast<std::size_t>(i)];
        low = std::min(low, candle.low);
        high = std::max(high, candle.high);
        for (std::size_t line = 1; line < chart_->lines.size(); ++line)
            if (const auto close = closeAt(chart_->lines[line], candle)) {
                low = std::min(low, *close);
                high = std::max(high, *close);
            }
    }
    const double room = high > low ? (high - low) * 0.05 : 1;
    scale.low = low - room;
    scale.high = high + room;
    return scale;
}

std::optional<QPoint> PreviewChart::markerPoint(int candle) const {
    if (candle < first() || candle >= end() || !std::binary_search(markers_.begin(), markers_.end(), candle))
        return std::nullopt;
    const int high = scale().y(candles()[static_cast<std::size_t>(candle)].high);
    return QPoint(centreX(candle), high - kMarkerGap - kMarkerSize);
}

void PreviewChart::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (candles().empty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(viewport()->rect(), Qt::AlignCenter, qt("Нет свечей для графика"_cp));
        return;
    }
    const Scale s = scale();
    drawGrid(painter, s);
    drawDates(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawLines(painter, s);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawCandles(painter, s);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawMarkers(painter, s);
    drawLegend(painter);
}

void PreviewChart::drawGrid(QPainter& painter, const Scale& scale) const {
    const int right = viewport()->width() - kAxisWidth;
    for (int tick = 0; tick <= kPriceTicks; ++tick) {
        const double price = scale.low + (scale.high - scale.low) * tick / kPriceTicks;
        const int y = scale.y(price);
        painter.setPen(kGrid);
        painter.drawLine(0, y, right, y);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(right + 4, y - 8, kAxisWidth - 6, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(price, 'f', 2));
    }
}

void PreviewChart::drawDates(QPainter& painter) const {
    const int bottom = viewport()->height() - kDateHeight;
    int lastLabel = -1000;
    for (int i = first(); i < end(); ++i) {
        const int date = candles()[static_cast<std::size_t>(i)].start.date;
        const bool newDay = i == 0 || candles()[static_cast<std::size_t>(i) - 1].start.date != date;
        const int x = centreX(i) - kStep / 2;
        if (newDay) {
            painter.setPen(QPen(kGrid, 1, Qt::DashLine));
            painter.drawLine(x, kTop, x, bottom);
        }
        if ((!newDay && i != first()) || x - lastLabel < 44)
            continue;
        lastLabel = x;
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(x + 2, bottom, 60, kDateHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         dateLabel(date));
    }
}

void PreviewChart::drawCandles(QPainter& painter, const Scale& scale) const {
    for (int i = first(); i < end(); ++i) {
        const sim::Candle& candle = candles()[static_cast<std::size_t>(i)];
        const QColor colour = candle.close >= candle.open ? kRising : kFalling;
        const int x = centreX(i);
        painter.setPen(colour);
        painter.drawLine(x, scale.y(candle.high), x, scale.y(candle.low));
        const int top = scale.y(std::max(candle.open, candle.close));
        const int bottom = scale.y(std::min(candle.open, candle.close));
        painter.fillRect(QRect(x - kBody / 2, top, kBody, std::max(1, bottom - top)), colour);
    }
}

void PreviewChart::drawLines(QPainter& painter, const Scale& scale) const {
    for (std::size_t line = 1; line < chart_->lines.size(); ++line) {
        QPainterPath path;
        bool drawing = false;
        for (int i = first(); i < end(); ++i) {
            const auto close = closeAt(chart_->lines[line], candles()[static_cast<std::size_t>(i)]);
            if (!close) {
                drawing = false;
                continue;
            }
            const QPointF point(centreX(i), scale.y(*close));
            drawing ? path.lineTo(point) : path.moveTo(point);
            drawing = true;
        }
        painter.strokePath(path, QPen(lineColour(line), 1.5));
    }
}

void PreviewChart::drawMarkers(QPainter& painter, const Scale& scale) const {
    const auto from = std::lower_bound(markers_.begin(), markers_.end(), first());
    for (auto it = from; it != markers_.end() && *it < end(); ++it) {
        const int x = centreX(*it);
        const int tip = scale.y(candles()[static_cast<std::size_t>(*it)].high) - kMarkerGap;
        const bool selected = *it == selected_;
        const int size = selected ? kMarkerSize + 2 : kMarkerSize;
        const QPointF triangle[] = {{x - size + 0.5, tip - 2.0 * size},
                                    {x + size + 0.5, tip - 2.0 * size},
                                    {x + 0.5, static_cast<double>(tip)}};
        painter.setPen(QPen(Qt::black, 0.5));
        painter.setBrush(selected ? kSelectedMarker : kMarker);
        painter.drawPolygon(triangle, 3);
    }
}

void PreviewChart::drawLegend(QPainter& painter) const {
    int x = 6;
    const QFontMetrics metrics(painter.font());
    for (std::size_t line = 0; line < chart_->lines.size(); ++line) {
        const QString name =
            QString("%1[%2] %3").arg(qt(chart_->id)).arg(line).arg(qt(chart_->lines[line].name));
        painter.setPen(line == 0 ? kRising : lineColour(line));
        painter.drawText(x, 4 + metrics.ascent(), name);
        x += metrics.horizontalAdvance(name) + 16;
    }
}

void PreviewChart::mousePressEvent(QMouseEvent* event) {
    for (const int candle : markers_) {
        const auto point = markerPoint(candle);
        if (point && (event->position().toPoint() - *point).manhattanLength() <= kClickDistance) {
            emit markerClicked(candle);
            return;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

} // namespace zorvant::ui
