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

// The smallest and largest shown value; min > max when nothing is shown.
struct DataRange {
    double min = 1, max = 0;
    bool empty() const { return min > max; }
    void include(double v);
};

struct DataRanges {
    DataRange x, y;
};
DataRanges shownRanges(const PlotSpec& spec);

}  // namespace tesmo
