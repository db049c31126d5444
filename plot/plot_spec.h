// A scientific XY plot described as data: series of points, axis titles with their units,
// optional logarithmic axes, a legend, texts placed at data points and a note. paintPlot
// (plot_painter.h) draws it with Qt; the description and the scale logic (axis_scale.h,
// plot_data.h) need no toolkit.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "display/rgb.h"
#include "plot/axis_scale.h"

namespace tesmo {

// How a line is drawn; the patterns keep curves apart also in black and white.
enum class Dash : std::uint8_t { Solid, Dashed, Dotted, DashDot, DashDotDot };

// The shape of a marker; ByPosition takes the shape from the series' place in the plot.
enum class Marker : std::int8_t {
    ByPosition = -1,
    Circle,
    Square,
    Triangle,
    Diamond,
    TriangleDown,
};

struct PlotSeries {
    std::string label;  // legend text; a series without a label has no legend entry
    // The points, pairwise; extra values of the longer list are ignored. A point with a
    // coordinate that is not finite (or not positive on a logarithmic axis) is left out, and
    // the line breaks there.
    std::vector<double> x, y;
    Rgb colour = kBlack;
    // A curve joins its points by straight lines; a series of points only (measured values)
    // has markers and no line.
    bool line = true;
    bool markers = false;
    Dash dash = Dash::Solid;
    Marker marker = Marker::ByPosition;
    double width = 1;  // line width relative to the plot's usual one (grid-like lines: 0.5)
    // On a line with markers: the least distance between two markers along the line, in
    // pixels at the plot's usual size, so that a dense curve keeps readable marks; 0 marks
    // every point.
    double markerSpacing = 0;
};

// A series of points only, drawn with markers and no line: measured values.
PlotSeries pointSeries(std::string label, std::vector<double> x, std::vector<double> y, Rgb colour,
                       Marker marker);

// A text at a point of the data, e.g. the value of a line of a chart's grid.
struct PlotText {
    double x = 0, y = 0;
    std::string text;
    Rgb colour = kBlack;
    // Which side of the point the text lies on: Right starts the text at the point, Left ends
    // it there, Above centres it over the point, AboveLeft ends it there above the point.
    enum class Side : std::uint8_t { Right, Left, Above, AboveLeft } side = Side::Right;
};

// A line across the whole frame at one value of an axis: a limit, a level, a moment.
struct PlotGuide {
    std::string label;     // legend text; none when empty
    bool vertical = true;  // at an x value; false: at a y value
    double at = 0;
    Rgb colour = kBlack;
    Dash dash = Dash::Dotted;
    double width = 0.75;
};

// How a bar is filled: in its colour, or in a light tint of it within an outline of the full
// colour, so that two kinds of bar side by side stay apart also in black and white.
enum class Fill : std::uint8_t { Solid, Light };

// Bars from a base line to a value each: the bins of a histogram (each from one edge to the
// next) or the bars of a bar chart. Upright bars stand on the x axis; lying ones
// (`horizontal`) reach along x and stand side by side along y.
struct PlotBars {
    std::string label;  // legend text; none when empty
    // Bar i covers `from[i]` to `to[i]` across (on x for upright bars) and reaches from `base`
    // to `value[i]`. A bar with a value that cannot be shown is left out; extra values of a
    // longer list are ignored.
    std::vector<double> from, to, value;
    double base = 0;
    bool horizontal = false;
    Rgb colour = kBlack;
    Fill fill = Fill::Solid;
};

// Intervals, e.g. confidence intervals: for each i a line from `low[i]` to `high[i]` with a
// short bar across each end, at `at[i]` on the other axis. Upright (along y at x = at) unless
// `horizontal`. An interval with an end that cannot be shown is left out.
struct PlotIntervals {
    std::string label;  // legend text; none when empty
    std::vector<double> at, low, high;
    bool horizontal = false;
    Rgb colour = kBlack;
    double cap = 8;  // length of the end bars, in pixels at the plot's usual size
};

// The range an axis covers whatever the data: both ends finite and min < max, else the
// data's range is taken. What lies outside is cut off at the frame.
struct AxisLimits {
    double min = std::numeric_limits<double>::quiet_NaN();
    double max = std::numeric_limits<double>::quiet_NaN();
    bool set() const { return std::isfinite(min) && std::isfinite(max) && min < max; }
};

struct PlotSpec {
    std::string title;
    std::string xTitle, yTitle;  // what is plotted, with the unit: "Zeitschritt in s"
    std::string note;            // a line below the plot, e.g. "3 Fälle nicht beendet"
    bool logX = false, logY = false;
    AxisLimits xLimits, yLimits;
    bool xGrid = true, yGrid = true;  // grid lines at the labelled values
    // The legend in rows below the plot instead of beside it: the plot keeps the full width,
    // and long labels stay whole.
    bool legendBelow = false;
    // Named places instead of round numbers on an axis, e.g. the inputs of a bar chart: when
    // not empty, the axis is labelled at these values with these texts and nowhere else, and
    // it spans exactly its limits (when set) or its data.
    std::vector<AxisTick> xLabels, yLabels;
    std::vector<PlotSeries> series;
    std::vector<PlotBars> bars;  // drawn beneath the series, in their order
    std::vector<PlotIntervals> intervals;
    std::vector<PlotGuide> guides;  // inside the axes' range, which they widen where needed
    std::vector<PlotText> texts;
};

// Colours for series that need no particular colour, in this order; distinguishable from each
// other also for readers with red-green colour blindness.
Rgb seriesColour(int index);

// Where a point of the plot lies, named as its axes name it: "Zeit 1,234 h, Temperatur 35,00 °C"
// for the titles "Zeit in h" and "Temperatur in °C" (four significant digits each, the read-out
// under the pointer).
std::string axesPositionText(const PlotSpec& spec, double x, double y);

}  // namespace tesmo
