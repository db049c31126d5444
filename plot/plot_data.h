// Which points of a plot are shown, and the range they span.
#pragma once

#include <vector>

#include "plot/plot_spec.h"

namespace tesmo {

struct PlotPoint {
    double x = 0, y = 0;
};

// Whether a coordinate can be shown on its axis: finite, and positive on a logarithmic axis.
bool showable(double v, bool log);

// The stretches of a series that are drawn: runs of consecutive shown points. A point that is
// left out ends the run before it.
std::vector<std::vector<PlotPoint>> shownRuns(const PlotSeries& series, bool logX, bool logY);

// A bar or an interval as far as it can be shown, in data units: the box from (x0, y0) to
// (x1, y1) it covers (an upright interval has x0 = x1, a lying one y0 = y1).
struct DataBox {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
// The bars, and the intervals, whose every coordinate can be shown on the axes.
std::vector<DataBox> shownBars(const PlotBars& bars, bool logX, bool logY);
std::vector<DataBox> shownIntervals(const PlotIntervals& intervals, bool logX, bool logY);

// The smallest and largest shown value; min > max when nothing is shown.
struct DataRange {
    double min = 1, max = 0;
    bool empty() const { return min > max; }
    void include(double v);
};

struct DataRanges {
    DataRange x, y;
};
// Of the series' shown points, the bars and the intervals.
DataRanges shownRanges(const PlotSpec& spec);

// The box a plot shows, in any coordinates in which straight lines stay straight (pixels).
struct PlotBox {
    double left = 0, top = 0, right = 1, bottom = 1;  // top < bottom, left < right
    bool contains(PlotPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// The parts of a polyline inside the box: each segment is cut where it crosses the box's
// edge, and a part ends where the line leaves the box.
std::vector<std::vector<PlotPoint>> clipToBox(const std::vector<PlotPoint>& line,
                                              const PlotBox& box);

// The indices of the points of a curve worth drawing when `buckets` stretches of it are
// enough to show it: the records are split into that many stretches of consecutive indices,
// and of each stretch the points with the smallest and the largest y stay (in their order),
// so that a peak survives however narrow. The first and the last point always stay. A curve
// of at most 2·buckets points keeps every point.
std::vector<std::size_t> thinnedIndices(const std::vector<double>& y, std::size_t buckets);

}  // namespace tesmo
