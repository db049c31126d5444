// A scientific XY plot described as data: series of points, axis titles with their units,
// optional logarithmic axes, a legend and a note. paintPlot (plot_painter.h) draws it with Qt;
// the description and the scale logic (axis_scale.h, plot_data.h) need no toolkit.
#pragma once

#include <string>
#include <vector>

#include "display/rgb.h"

namespace tesmo {

struct PlotSeries {
    std::string label;  // legend text; a series without a label has no legend entry
    // The points, pairwise; extra values of the longer list are ignored. A point with a
    // coordinate that is not finite (or not positive on a logarithmic axis) is left out, and
    // the line breaks there.
    std::vector<double> x, y;
    Rgb colour = kBlack;
    bool line = true;      // consecutive points joined by straight lines
    bool markers = false;  // every point marked (the shape follows the series' position)
    bool dashed = false;   // the line dashed, e.g. for a reference slope
};

struct PlotSpec {
    std::string title;
    std::string xTitle, yTitle;  // what is plotted, with the unit: "Zeitschritt in s"
    std::string note;            // a line below the plot, e.g. "3 Fälle nicht beendet"
    bool logX = false, logY = false;
    std::vector<PlotSeries> series;
};

// Colours for series that need no particular colour, in this order; distinguishable from each
// other also for readers with red-green colour blindness.
Rgb seriesColour(int index);

}  // namespace tesmo
