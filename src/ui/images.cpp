#include "ui/images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace zorvant::ui {
namespace {

constexpr int kSmall = 16;

QPixmap blankSmall() {
    QPixmap pixmap(kSmall, kSmall);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawBall(QPainter& p, QColor colour) {
    QRadialGradient shade(QPointF(6, 6), 8);
    shade.setColorAt(0, colour.lighter(170));
    shade.setColorAt(1, colour.darker(130));
    p.setBrush(shade);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
}

QPolygonF star(QPointF centre, double outer, double inner, int points) {
    QPolygonF polygon;
    for (int i = 0; i < points * 2; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
        const double radius = i % 2 == 0 ? outer : inner;
        polygon << QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    }
    return polygon;
}

void drawArrow(QPainter& p) {
    const QPolygonF arrow({{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}});
    p.setBrush(QColor(30, 90, 220));
    p.setPen(QPen(QColor(10, 40, 120), 1));
    p.drawPolygon(arrow);
}

void drawStar(QPainter& p) {
    p.setBrush(QColor(250, 200, 40));
    p.setPen(QPen(QColor(150, 100, 0), 1));
    p.drawPolygon(star(QPointF(8, 8.5), 7, 3, 5));
}

void drawBrackets(QPainter& p) {
    QPen pen(QColor(90, 60, 150), 1.6, Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 1, 8, 14), 100 * 16, 160 * 16);
    p.drawArc(QRectF(6, 1, 8, 14), -80 * 16, 160 * 16);
}

} // namespace

QPixmap nodeImage(int index) {
    QPixmap pixmap = blankSmall();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        drawArrow(p);
        break;
    case 1:
        drawStar(p);
        break;
    case 2:
        drawBall(p, QColor(40, 170, 60));
        break;
    case 3:
        drawBall(p, QColor(240, 140, 20));
        break;
    case 4:
        drawBall(p, QColor(40, 100, 220));
        break;
    case 5:
        drawBrackets(p);
        break;
    default:
        break;
    }
    return pixmap;
}

QIcon nodeIcon(int imageIndex) {
    QIcon icon;
    icon.addPixmap(imageIndex >= 0 ? nodeImage(imageIndex) : blankSmall(), QIcon::Normal);
    icon.addPixmap(nodeImage(0), QIcon::Selected);
    return icon;
}

QPixmap buttonImage(int index) {
    QPixmap pixmap = blankSmall();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == 1) {
        p.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 8}, {7, 12}, {13, 4}}));
    } else if (index == 2) {
        p.setPen(QPen(QColor(20, 90, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    }
    return pixmap;
}

QImage programIcon() {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient face(0, 0, 0, 128);
    face.setColorAt(0, QColor(40, 80, 160));
    face.setColorAt(1, QColor(15, 30, 80));
    p.setBrush(face);
    p.setPen(QPen(QColor(10, 20, 50), 3));
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 18, 18);

    // Candles of a chart, with the signal line crossing them.
    const struct {
        double x, low, high, open, close;
    } candles[] = {{24, 86, 108, 102, 92},
                   {44, 70, 98, 92, 78},
                   {64, 60, 88, 80, 66},
                   {84, 40, 72, 66, 48},
                   {104, 24, 56, 48, 30}};
    for (const auto& c : candles) {
        const bool rising = c.close < c.open;
        p.setPen(QPen(QColor(220, 230, 240), 2));
        p.drawLine(QPointF(c.x, c.low), QPointF(c.x, c.high));
        p.setBrush(rising ? QColor(70, 200, 90) : QColor(230, 70, 60));
        p.drawRect(QRectF(c.x - 6, std::min(c.open, c.close), 12, std::abs(c.open - c.close)));
    }
    p.setPen(QPen(QColor(250, 200, 40), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 64), QPointF(114, 64));
    p.setBrush(QColor(250, 200, 40));
    p.setPen(QPen(QColor(150, 100, 0), 2));
    p.drawPolygon(star(QPointF(64, 64), 14, 6, 5));
    return image;
}

} // namespace zorvant::ui
