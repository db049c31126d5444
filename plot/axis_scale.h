// The scale of one plot axis: its range, the labelled tick values and the texts of their
// labels, chosen so that the labels are round numbers and do not overlap.
//
// The range is the data's with a small margin (none below zero for data that are not
// negative). A linear axis is labelled at the multiples of 1, 2 or 5 times a power of ten
// inside it; a logarithmic one at its decades, or at 1, 2 and 5 of each decade when it spans
// two decades or less, and crowded decades are thinned to every second, third, … one. A frame
// end close to the next round value moves out to it, so that it is labelled; a range too
// narrow to hold two round values widens to those around it. Labels use the decimal comma; a
// logarithmic axis far from 1 writes powers of ten.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tesmo {

struct AxisTick {
    double value = 0;
    std::string label;
};

struct AxisScale {
    double lo = 0, hi = 1;  // the range; both positive on a logarithmic axis
    bool log = false;
    std::vector<AxisTick> ticks;  // labelled, ascending
    std::vector<double> minor;    // unlabelled grid values, ascending (logarithmic axes)

    // Where v lies along the axis: 0 at lo, 1 at hi (in log10 on a logarithmic axis).
    double fraction(double v) const;
};

// The extent of a label along the axis, in the units of the axis length: its width on a
// horizontal axis, its height on a vertical one.
using LabelExtent = std::function<double(const std::string&)>;

// The scale for data from dataMin to dataMax (min > max: no data) on an axis `length` long.
// Neighbouring labels keep at least `gap` between them. On a logarithmic axis the data must be
// positive.
AxisScale chooseAxis(double dataMin, double dataMax, bool log, double length,
                     const LabelExtent& extent, double gap);

// A linear axis from lo to hi labelled only at the given places (those inside the range, in
// ascending order), e.g. the categories of a bar chart. A range without length widens by a
// half on either side.
AxisScale labelledAxis(double lo, double hi, std::vector<AxisTick> labels);

}  // namespace tesmo
