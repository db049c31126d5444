// Where a drawn plot has put its data: the frame and the two axes. With it a window maps the
// mouse to data values (a read-out under the cursor) and finds the curve point nearest to it.
#pragma once

#include "plot/axis_scale.h"
#include "plot/plot_data.h"
#include "plot/plot_spec.h"

namespace tesmo {

struct PlotFrame {
    bool drawn = false;  // false: the area was too small, nothing was drawn
    PlotBox box;         // the frame, in the painter's coordinates (pixels)
    AxisScale x, y;

    // The pixel of a data point, and the data value at a pixel (also outside the frame).
    PlotPoint pixelOf(double xValue, double yValue) const;
    double xAt(double px) const;
    double yAt(double py) const;
};

// The value at `fraction` of the axis' length from its low end: the inverse of
// AxisScale::fraction.
double valueAtFraction(const AxisScale& axis, double fraction);

// The shown point of any series nearest to the pixel (px, py), within `radius` pixels and
// inside the frame; series -1 when there is none.
struct NearPoint {
    int series = -1;
    PlotPoint point;  // in data units
};
NearPoint nearestPoint(const PlotSpec& spec, const PlotFrame& frame, double px, double py,
                       double radius);

}  // namespace tesmo
