#include "plot/plot_look.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tesmo::look {

namespace {

constexpr const char* kFontFamily = "DejaVu Sans";

// The dash pattern in units of the line width; empty for a solid line.
QList<qreal> dashPattern(Dash dash) {
    switch (dash) {
        case Dash::Solid:
            break;
        case Dash::Dashed:
            return {5, 3};
        case Dash::Dotted:
            return {1, 2};
        case Dash::DashDot:
            return {6, 2.5, 1, 2.5};
        case Dash::DashDotDot:
            return {6, 2, 1, 2, 1, 2};
    }
    return {};
}

}  // namespace

QColor frameColour() {
    return {0, 0, 0};
}
QColor gridColour() {
    return {215, 215, 215};
}
QColor minorGridColour() {
    return {238, 238, 238};
}
QColor noteColour() {
    return {70, 70, 70};
}

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QColor lightTint(const QColor& c) {
    // A quarter of the colour on white: light enough to tell from the solid fill in grey.
    constexpr double kShare = 0.25;
    const auto mix = [](int v) { return static_cast<int>(std::lround(255 - kShare * (255 - v))); };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

QPointF qpoint(PlotPoint p) {
    return {p.x, p.y};
}

QFont font(double px, double scale, bool bold, bool italic) {
    QFont f(kFontFamily);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(px * scale))));
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void drawMarker(QPainter& p, QPointF c, double size, int shape) {
    const double r = size / 2;
    switch (shape % 5) {
        case 0:
            p.drawEllipse(c, r, r);
            break;
        case 1:
            p.drawRect(QRectF(c.x() - r * 0.9, c.y() - r * 0.9, 1.8 * r, 1.8 * r));
            break;
        case 2:
            p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - 1.15 * r),
                                     QPointF(c.x() + 1.1 * r, c.y() + 0.85 * r),
                                     QPointF(c.x() - 1.1 * r, c.y() + 0.85 * r)}));
            break;
        case 3:
            p.drawPolygon(
                QPolygonF({QPointF(c.x(), c.y() - 1.2 * r), QPointF(c.x() + 1.2 * r, c.y()),
                           QPointF(c.x(), c.y() + 1.2 * r), QPointF(c.x() - 1.2 * r, c.y())}));
            break;
        default:
            p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() + 1.15 * r),
                                     QPointF(c.x() + 1.1 * r, c.y() - 0.85 * r),
                                     QPointF(c.x() - 1.1 * r, c.y() - 0.85 * r)}));
            break;
    }
}

QPen seriesPen(const PlotSeries& s, double scale) {
    QPen pen(qcolour(s.colour), kLineWidth * scale * s.width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::FlatCap);
    if (const QList<qreal> pattern = dashPattern(s.dash); !pattern.isEmpty())
        pen.setDashPattern(pattern);
    return pen;
}

int markerShape(const PlotSeries& s, std::size_t position) {
    return s.marker == Marker::ByPosition ? static_cast<int>(position) : static_cast<int>(s.marker);
}

}  // namespace tesmo::look
