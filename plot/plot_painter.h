// Draws a PlotSpec with any QPainter: a widget, an image, an SVG or PDF generator.
#pragma once

#include <QPainter>
#include <QRectF>

#include "plot/plot_frame.h"
#include "plot/plot_spec.h"

namespace tesmo {

// Fills `area` white and draws the plot inside it: the title above, the plot frame with grid,
// ticks and labels, the axis titles, the series, the legend to the right of the frame (when a
// series has a label) and the note below. Text sizes grow and shrink with the area within
// limits. The painter's state is restored afterwards. Text is measured on the painter's device,
// so a QGuiApplication must exist. Returns where the data went (in the painter's coordinates).
PlotFrame paintPlot(QPainter& painter, const QRectF& area, const PlotSpec& spec);

}  // namespace tesmo
