#include "export/chart_picture.h"

#include <algorithm>
#include <vector>

#include <QPainter>

#include "display/decoration_table.h"
#include "display/window_base.h"
#include "export/label_layout.h"
#include "export/picture_paint.h"
#include "export/qt_look.h"

namespace tesmo::qt {

namespace {

// Dash, gap, dot, gap, dot, gap in units of the line width: a long dash with two dots, long
// enough to tell apart from a solid line at one pixel.
const QList<qreal> kDashDotDot = {9, 3, 3, 3, 3, 3};

Control surfaceControl(Chart chart) {
    return chart == Chart::Ausgabe ? Control::pic_Ausgabe : Control::pic_Zeit;
}

// Cuts the segment a-b to the box (Liang-Barsky); false when nothing of it lies inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    const QPointF d = b - a;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const QPointF start = a;
    if (t1 < 1.0) b = start + d * t1;
    if (t0 > 0.0) a = start + d * t0;
    return true;
}

// One polyline of the drawing, cut into the pieces whose stroke reaches into `inner`.
void drawClippedPolyline(QPainter& p, const std::vector<ChartPoint>& points, const QRectF& inner,
                         double sx, double sy, double halfWidth, std::vector<QPointF>& piece) {
    const QRectF reach = inner.adjusted(-halfWidth, -halfWidth, halfWidth, halfWidth);
    const auto map = [&](ChartPoint q) {
        return QPointF(inner.left() + q.x * sx, inner.top() + q.y * sy);
    };
    const auto flush = [&] {
        if (piece.size() >= 2) p.drawPolyline(piece.data(), static_cast<int>(piece.size()));
        piece.clear();
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        QPointF a = map(points[i]), b = map(points[i + 1]);
        const QPointF end = b;
        if (!clipSegment(a, b, reach)) {
            flush();
            continue;
        }
        if (piece.empty() || piece.back() != a) {
            flush();
            piece.push_back(a);
        }
        piece.push_back(b);
        if (b != end) flush();  // the line leaves the area here
    }
    flush();
}

// Replays the drawing into the inner area. Returns the widest pen: a device without clipping
// (SVG) lets the stroke reach up to that many pixels beyond the inner area.
int paintDrawing(QPainter& p, const DisplayList& list, const QRectF& inner, ChartExtent extent) {
    const double sx = inner.width() / extent.width, sy = inner.height() / extent.height;
    p.save();
    p.setClipRect(inner);
    std::vector<QPointF> piece;
    int widest = 1;
    for (const DisplayList::Item& item : list.items()) {
        const std::vector<ChartPoint>& points = item.points;
        if (item.kind == DisplayList::Kind::Box) {
            const auto corner = [&](ChartPoint q) {
                return QPointF(inner.left() + q.x * sx, inner.top() + q.y * sy);
            };
            const QRectF box = QRectF(corner(points[0]), corner(points[1])).normalized() & inner;
            if (!box.isEmpty()) p.fillRect(box, toQColor(item.pen.colour));
            continue;
        }
        p.setPen(chartPen(item.pen.colour, item.pen.width, item.pen.style));
        drawClippedPolyline(p, points, inner, sx, sy, item.pen.width / 2.0, piece);
        widest = std::max(widest, item.pen.width);
    }
    p.restore();
    return widest;
}

// The surface: white inner area, the drawing, the frame. Where the device does not clip, the
// strokes that reach past the inner area are covered by a white band around the frame (the
// texts and pictures beside the chart are painted afterwards).
void paintSurface(QPainter& p, Chart chart, const ChartView& view) {
    const QRect outer = pxRect(controlSpec(surfaceControl(chart)).geometry);
    const QRectF inner = QRectF(outer).adjusted(1, 1, -1, -1);
    p.fillRect(outer, Qt::white);
    const int spill = view.drawing ? paintDrawing(p, *view.drawing, inner, chartExtent(chart)) : 1;
    const auto band = [&p](const QRectF& r, double width, Qt::GlobalColor colour) {
        p.fillRect(QRectF(r.left(), r.top(), r.width(), width), colour);
        p.fillRect(QRectF(r.left(), r.bottom() - width, r.width(), width), colour);
        p.fillRect(QRectF(r.left(), r.top(), width, r.height()), colour);
        p.fillRect(QRectF(r.right() - width, r.top(), width, r.height()), colour);
    };
    const double beyond = spill - 1;  // past the frame
    band(QRectF(outer).adjusted(-beyond, -beyond, beyond, beyond), beyond, Qt::white);
    band(QRectF(outer), 1, Qt::black);
    if (view.warning) {
        // "!" stands inside the time chart, placed in the chart's own units.
        const ControlSpec& a = controlSpec(Control::lbl_Achtung);
        const QRect place = surfaceRect(outer.size(), chartExtent(chart), a.geometry.left,
                                        a.geometry.top, a.geometry.width, a.geometry.height)
                                .translated(outer.topLeft());
        const QColor white = Qt::white;
        paintLabel(p, {arialFont(a.font), place, Qt::AlignCenter}, QString::fromUtf8(a.text),
                   toQColor(a.colour), &white);
    }
}

}  // namespace

QPen chartPen(Rgb colour, int width, LineStyle style) {
    QPen pen(toQColor(colour), width);
    if (width > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    if (style == LineStyle::DashDotDot) pen.setDashPattern(kDashDotDot);
    return pen;
}

QPointF surfacePoint(QSize surface, ChartExtent extent, double x, double y) {
    return {1.0 + x * (surface.width() - 2) / extent.width,
            1.0 + y * (surface.height() - 2) / extent.height};
}

QRect surfaceRect(QSize surface, ChartExtent extent, double left, double top, double width,
                  double height) {
    return QRectF(surfacePoint(surface, extent, left, top),
                  surfacePoint(surface, extent, left + width, top + height))
        .toRect();
}

ChartView chartView(const WindowBase& window, Chart chart) {
    ChartView view;
    view.drawing = window.recording(chart);
    view.shrinkageArrow = inChartRegion(chart, controlSpec(Control::Image7).geometry) &&
                          window.isVisible(Control::Image7);
    view.warning = chart == Chart::Zeit && window.isVisible(Control::lbl_Achtung);
    return view;
}

QRect chartRegionPixels(Chart chart) {
    return pxRect(chartRegion(chart));
}

void paintChartRegion(QPainter& p, Chart chart, const ChartView& view) {
    const QRect region = chartRegionPixels(chart);
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(-region.topLeft());
    p.fillRect(region, Qt::white);
    paintSurface(p, chart, view);
    for (const FixedText& t : fixedTexts()) {
        if (!inChartRegion(chart, t.geometry)) continue;
        const QString text = QString::fromUtf8(t.text);
        const QColor background = toQColor(t.background);
        paintLabel(p, layoutLabel(text, arialFont(t.points, true), pxRect(t.geometry), t.opaque),
                   text, toQColor(t.colour), t.opaque ? &background : nullptr);
    }
    for (const FixedPicture& pic : fixedPictures()) {
        if (!inChartRegion(chart, pic.geometry)) continue;
        paintPicture(p, pxRect(pic.geometry), QString::fromUtf8(pic.text), toQColor(pic.colour),
                     arialFont(kPictureFont), pic.style);
    }
    if (view.shrinkageArrow) {
        const ControlSpec& image = controlSpec(Control::Image7);
        paintPicture(p, pxRect(image.geometry), QString::fromUtf8(image.text),
                     toQColor(image.colour), arialFont(image.font), kImage7Style);
    }
    p.restore();
}

}  // namespace tesmo::qt
