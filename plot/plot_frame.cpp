#include "plot/plot_frame.h"

#include <cmath>

namespace tesmo {

double valueAtFraction(const AxisScale& axis, double fraction) {
    if (axis.log) return axis.lo * std::pow(axis.hi / axis.lo, fraction);
    return axis.lo + fraction * (axis.hi - axis.lo);
}

PlotPoint PlotFrame::pixelOf(double xValue, double yValue) const {
    return {box.left + x.fraction(xValue) * (box.right - box.left),
            box.bottom - y.fraction(yValue) * (box.bottom - box.top)};
}

double PlotFrame::xAt(double px) const {
    return valueAtFraction(x, (px - box.left) / (box.right - box.left));
}

double PlotFrame::yAt(double py) const {
    return valueAtFraction(y, (box.bottom - py) / (box.bottom - box.top));
}

NearPoint nearestPoint(const PlotSpec& spec, const PlotFrame& frame, double px, double py,
                       double radius) {
    NearPoint best;
    if (!frame.drawn) return best;
    double bestSquare = radius * radius;
    for (std::size_t s = 0; s < spec.series.size(); ++s) {
        for (const auto& run : shownRuns(spec.series[s], spec.logX, spec.logY)) {
            for (const PlotPoint& p : run) {
                const PlotPoint at = frame.pixelOf(p.x, p.y);
                if (!frame.box.contains(at)) continue;
                const double square = (at.x - px) * (at.x - px) + (at.y - py) * (at.y - py);
                if (square <= bestSquare) {
                    bestSquare = square;
                    best = {static_cast<int>(s), p};
                }
            }
        }
    }
    return best;
}

}  // namespace tesmo
