#include "gui/plot_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

#include "plot/plot_painter.h"

namespace tesmo::qt {

namespace {

const QColor kCrosshair(90, 90, 90, 160);
const QColor kBoxFill(255, 255, 255, 235);
const QColor kBoxBorder(150, 150, 150);
constexpr double kBoxOffset = 14;  // pixels between the cursor and the read-out box
constexpr double kBoxPadding = 5;

}  // namespace

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintPlot fills the whole area
}

void PlotWidget::setSpec(PlotSpec spec) {
    spec_ = std::move(spec);
    stale_ = true;
    update();
}

void PlotWidget::setReadout(Readout readout) {
    readout_ = std::move(readout);
    setMouseTracking(static_cast<bool>(readout_.position));
    moveCursor(std::nullopt);
}

QSize PlotWidget::sizeHint() const {
    return {640, 400};
}

QSize PlotWidget::minimumSizeHint() const {
    return {320, 200};
}

void PlotWidget::renderPlot() {
    stale_ = false;
    frame_ = PlotFrame{};
    if (size().isEmpty()) {
        plot_ = QPixmap();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    plot_ = QPixmap(size() * ratio);
    plot_.setDevicePixelRatio(ratio);
    QPainter painter(&plot_);
    frame_ = paintPlot(painter, QRectF(rect()), spec_);
}

void PlotWidget::paintEvent(QPaintEvent*) {
    if (stale_ || plot_.size() != size() * devicePixelRatioF()) renderPlot();
    QPainter painter(this);
    painter.drawPixmap(0, 0, plot_);
    if (cursor_) paintReadout(painter);
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    stale_ = true;
    QWidget::resizeEvent(event);
}

QString PlotWidget::readoutAt(QPointF pos) const {
    if (!readout_.position || !frame_.drawn || !frame_.box.contains({pos.x(), pos.y()})) return {};
    QStringList lines;
    lines << QString::fromStdString(readout_.position(frame_.xAt(pos.x()), frame_.yAt(pos.y())));
    const NearPoint near = nearestPoint(spec_, frame_, pos.x(), pos.y(), kNearPixels);
    if (near.series >= 0 && readout_.point)
        lines << QString::fromStdString(readout_.point(near.series, near.point));
    return lines.join(QLatin1Char('\n'));
}

void PlotWidget::moveCursor(std::optional<QPointF> cursor) {
    const QString before = cursor_ ? readoutAt(*cursor_) : QString();
    cursor_ = cursor;
    const QString now = cursor_ ? readoutAt(*cursor_) : QString();
    if (now.isEmpty()) cursor_.reset();
    update();
    if (now != before) emit readoutChanged(now);
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (readout_.position) moveCursor(event->position());
    QWidget::mouseMoveEvent(event);
}

void PlotWidget::leaveEvent(QEvent* event) {
    moveCursor(std::nullopt);
    QWidget::leaveEvent(event);
}

void PlotWidget::paintReadout(QPainter& p) {
    const QPointF c = *cursor_;
    const PlotBox& box = frame_.box;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(kCrosshair, 1, Qt::DashLine);
    p.setPen(pen);
    p.drawLine(QPointF(box.left, c.y()), QPointF(box.right, c.y()));
    p.drawLine(QPointF(c.x(), box.top), QPointF(c.x(), box.bottom));

    const NearPoint near = nearestPoint(spec_, frame_, c.x(), c.y(), kNearPixels);
    if (near.series >= 0) {
        const PlotPoint at = frame_.pixelOf(near.point.x, near.point.y);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(at.x, at.y), 6, 6);
    }

    const QString text = readoutAt(c);
    const QFontMetricsF m(font(), this);
    const QRectF textRect = m.boundingRect(QRectF(0, 0, 10000, 10000), Qt::AlignLeft, text);
    QRectF shown(c.x() + kBoxOffset, c.y() + kBoxOffset, textRect.width() + 2 * kBoxPadding,
                 textRect.height() + 2 * kBoxPadding);
    // Keep the box inside the widget: to the left of or above the cursor where needed.
    if (shown.right() > width()) shown.moveRight(c.x() - kBoxOffset);
    if (shown.bottom() > height()) shown.moveBottom(c.y() - kBoxOffset);
    p.setPen(kBoxBorder);
    p.setBrush(kBoxFill);
    p.drawRect(shown);
    p.setPen(Qt::black);
    p.drawText(shown.adjusted(kBoxPadding, kBoxPadding, -kBoxPadding, -kBoxPadding), Qt::AlignLeft,
               text);
    p.restore();
}

}  // namespace tesmo::qt
