// A chart's region of the window painted on any QPainter, without widgets: the surface with its
// frame and the replayed drawing, the axis pictures, the legend and the scale symbols, as the
// window shows them. The exports of a run draw their charts with this.
#pragma once

#include <QPen>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "display/chart_canvas.h"
#include "display/recording_canvas.h"

class QPainter;

namespace tesmo {
class WindowBase;
}

namespace tesmo::qt {

// The pen of a chart line `width` window pixels wide: round ends and joins for thick lines, the
// dash-dot-dot pattern in units of the width.
QPen chartPen(Rgb colour, int width, LineStyle style);

// Where a logical point of a chart lands on its surface, in pixels from the surface's top left
// corner: the inner area, inside the one-pixel frame, starts at (1, 1).
QPointF surfacePoint(QSize surface, ChartExtent extent, double x, double y);
// A rectangle in the chart's logical units on its surface, in whole pixels.
QRect surfaceRect(QSize surface, ChartExtent extent, double left, double top, double width,
                  double height);

// What the window shows of one chart besides the fixed texts and pictures.
struct ChartView {
    const DisplayList* drawing = nullptr;  // nothing drawn where null
    bool shrinkageArrow = false;           // Image7, beside the profile chart
    bool warning = false;                  // lbl_Achtung, the "!" inside the time chart
};
ChartView chartView(const WindowBase& window, Chart chart);

// The chart's region of the window (see chartRegion) in window pixels.
QRect chartRegionPixels(Chart chart);

// Paints the region in window pixels with its top left corner at the painter's origin; scale
// the painter for any other size. The drawing is replayed as polylines and boxes cut to the
// chart's inner area, so that a vector device receives only what the window shows.
void paintChartRegion(QPainter& p, Chart chart, const ChartView& view);

}  // namespace tesmo::qt
