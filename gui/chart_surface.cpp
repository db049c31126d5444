#include "gui/chart_surface.h"

#include <cmath>

#include <QGuiApplication>
#include <QPaintEvent>

#include "export/chart_picture.h"
#include "export/qt_look.h"

namespace tesmo::qt {

ChartSurface::ChartSurface(QSize size, double logicalWidth, double logicalHeight, QWidget* parent)
    : QWidget(parent), logicalWidth_(logicalWidth), logicalHeight_(logicalHeight) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QSize inner = size - QSize(2, 2);
    image_ = QImage(QSize(static_cast<int>(std::lround(inner.width() * dpr)),
                          static_cast<int>(std::lround(inner.height() * dpr))),
                    QImage::Format_RGB32);
    image_.fill(Qt::white);
}

ChartSurface::~ChartSurface() {
    endPainting();
}

QPainter& ChartSurface::painter() {
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }
    return painter_;
}

void ChartSurface::endPainting() {
    if (painter_.isActive()) painter_.end();
    penValid_ = false;
}

// The centre of the device pixel that holds the logical point: pixel (0, 0) holds the logical
// origin, and a logical coordinate at the far edge lies just outside the image.
QPointF ChartSurface::toDevice(float x, float y) const {
    return {std::floor(static_cast<double>(x) * image_.width() / logicalWidth_) + 0.5,
            std::floor(static_cast<double>(y) * image_.height() / logicalHeight_) + 0.5};
}

QPointF ChartSurface::toWidget(double x, double y) const {
    return surfacePoint(size(), {logicalWidth_, logicalHeight_}, x, y);
}

QRect ChartSurface::toWidget(double left, double top, double w, double h) const {
    return surfaceRect(size(), {logicalWidth_, logicalHeight_}, left, top, w, h);
}

void ChartSurface::setLineWidth(int pixels) {
    lineWidth_ = pixels < 1 ? 1 : pixels;
}

void ChartSurface::setLineStyle(LineStyle style) {
    style_ = style;
}

void ChartSurface::line(float x1, float y1, float x2, float y2, Rgb colour) {
    QPainter& p = painter();
    drawnSinceShown_ = true;
    const QColor c = toQColor(colour);
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    // Solid thick lines along an axis (the bands of the time chart) are plain rectangles;
    // filling them is many times faster than stroking them with round caps.
    if (style_ == LineStyle::Solid && lineWidth_ > 1 && (a.x() == b.x() || a.y() == b.y())) {
        const double half = lineWidth_ / 2.0;
        const QRectF box = QRectF(a, b).normalized().adjusted(-half, -half, half, half);
        p.fillRect(box, c);
        return;
    }
    const ChartPen pen{colour, lineWidth_, style_};
    if (!penValid_ || pen != pen_) {
        QPen qpen = chartPen(colour, lineWidth_, style_);
        if (lineWidth_ == 1)
            qpen.setCosmetic(true);  // the fast one-pixel path of the raster engine
        p.setPen(qpen);
        pen_ = pen;
        penValid_ = true;
    }
    p.drawLine(a, b);
}

void ChartSurface::fillBox(float x1, float y1, float x2, float y2, Rgb colour) {
    // Both corners belong to the box.
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    const QRect box(
        QPoint(static_cast<int>(std::min(a.x(), b.x())), static_cast<int>(std::min(a.y(), b.y()))),
        QPoint(static_cast<int>(std::max(a.x(), b.x())), static_cast<int>(std::max(a.y(), b.y()))));
    painter().fillRect(box, toQColor(colour));
    drawnSinceShown_ = true;
}

void ChartSurface::refresh() {
    endPainting();
    if (!immediate_) return;
    drawnSinceShown_ = false;
    repaint();
}

void ChartSurface::present() {
    if (!drawnSinceShown_) return;
    drawnSinceShown_ = false;
    endPainting();
    update();
}

QImage ChartSurface::drawing() {
    endPainting();
    return image_;
}

void ChartSurface::paintEvent(QPaintEvent*) {
    endPainting();
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawImage(QRectF(1, 1, width() - 2, height() - 2), image_);
}

}  // namespace tesmo::qt
