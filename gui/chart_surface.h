// A drawing surface with its own logical coordinates and a persistent drawing.
//
// The surface has a flat one-pixel border; the inner area (the outer size less one pixel on
// each side) maps the logical coordinates linearly, with the origin at its top left corner.
// Everything is drawn into a backing image at the screen's device pixel ratio, which the paint
// event copies to the screen, so the drawing survives being covered and repainted. Line widths
// are in device pixels of that image.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "display/chart_canvas.h"

namespace tesmo::qt {

class ChartSurface : public QWidget, public ChartCanvas {
    Q_OBJECT
  public:
    // size: outer size in logical pixels; logicalWidth/Height: the coordinate range.
    ChartSurface(QSize size, double logicalWidth, double logicalHeight, QWidget* parent = nullptr);
    ~ChartSurface() override;

    // --- ChartCanvas ------------------------------------------------------------------------
    void setLineWidth(int pixels) override;
    void setLineStyle(LineStyle style) override;
    void line(float x1, float y1, float x2, float y2, Rgb colour) override;
    void fillBox(float x1, float y1, float x2, float y2, Rgb colour) override;
    void refresh() override;

    // Immediate: refresh() paints at once. Otherwise (the default) refresh() leaves the
    // painting to the window's next present(), which collects the refreshes of a busy run.
    void setImmediateRefresh(bool immediate) { immediate_ = immediate; }
    // Schedule painting if anything has been drawn since the surface was last painted.
    void present();

    // The drawing as it stands, at device resolution (for tests and screenshots).
    QImage drawing();
    // Where a logical point lands in widget pixels (the inner area starts at 1, 1).
    QPointF toWidget(double x, double y) const;
    QRect toWidget(double left, double top, double width, double height) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPainter& painter();
    void endPainting();
    QPointF toDevice(float x, float y) const;

    double logicalWidth_, logicalHeight_;
    QImage image_;
    QPainter painter_;
    int lineWidth_ = 1;
    LineStyle style_ = LineStyle::Solid;
    ChartPen pen_;  // the pen last set on painter_
    bool penValid_ = false;
    bool immediate_ = false;
    bool drawnSinceShown_ = false;
};

}  // namespace tesmo::qt
