#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/axis_scale.h"
#include "plot/plot_data.h"

namespace tesmo {

const double kNaN = std::nan("");
const double kInf = std::numeric_limits<double>::infinity();

TEST(PlotData, APointThatCannotBeShownIsLeftOutAndBreaksTheLine) {
    PlotSeries s;
    s.x = {1, 2, 3, 4, 5, 6, 7};
    s.y = {1, kNaN, 3, 4, kInf, 6, 7};
    const auto runs = shownRuns(s, false, false);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].size(), 1u);
    EXPECT_EQ(runs[1].size(), 2u);
    EXPECT_EQ(runs[2].size(), 2u);
    EXPECT_EQ(runs[2][1].x, 7);

    // On a logarithmic axis zero and negative values cannot be shown either.
    s.y = {1, 0, -3, 4, 5, 6, 7};
    const auto logRuns = shownRuns(s, false, true);
    ASSERT_EQ(logRuns.size(), 2u);
    EXPECT_EQ(logRuns[1].front().x, 4);
    EXPECT_EQ(shownRuns(s, true, false).size(), 1u);
}

TEST(PlotData, PointsArePairedUpToTheShorterListAndTheRangeCoversOnlyShownPoints) {
    PlotSpec spec;
    spec.series.push_back({"a", {1, 2, 3, 99}, {10, 20, 30}});
    spec.series.push_back({"b", {-5, kNaN}, {0.5, 1000}});
    spec.series.push_back({"leer", {}, {}});
    EXPECT_EQ(shownRuns(spec.series[0], false, false)[0].size(), 3u);
    const DataRanges r = shownRanges(spec);
    EXPECT_EQ(r.x.min, -5);
    EXPECT_EQ(r.x.max, 3);
    EXPECT_EQ(r.y.min, 0.5);
    EXPECT_EQ(r.y.max, 30);

    spec.logX = true;  // the point at x = -5 goes
    EXPECT_EQ(shownRanges(spec).y.min, 10);
    spec.series.resize(1);
    spec.series[0].y = {kNaN, kNaN, kNaN};
    EXPECT_TRUE(shownRanges(spec).x.empty());
}

TEST(PlotData, SeriesColoursRepeatAfterThePaletteAndAreDistinct) {
    EXPECT_EQ(seriesColour(0), seriesColour(7));
    EXPECT_EQ(seriesColour(-1), seriesColour(6));
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 7; ++j)
            EXPECT_NE(seriesColour(i), seriesColour(j));
}

// The read-out under the pointer names each axis as its title does, with the unit after the
// number; a title without a unit gives the bare number, one that is not finite a dash.
TEST(PlotData, ThePositionTextNamesTheAxesWithTheirUnits) {
    PlotSpec spec;
    spec.xTitle = "Zeit in h";
    spec.yTitle = "Anteil";
    EXPECT_EQ(axesPositionText(spec, 2.5, 0.125), "Zeit 2,500 h, Anteil 0,1250");
    spec.yTitle = "Wasserbeladung in kg/kg";
    EXPECT_EQ(axesPositionText(spec, -1, kNaN), "Zeit −1,000 h, Wasserbeladung – kg/kg");
}

// Bars and intervals show what both axes can show, lying ones with their axes swapped, and
// widen the range to their base; a labelled axis keeps its places inside its range only.
TEST(PlotData, BarsAndIntervalsWidenTheRangeByWhatCanBeShown) {
    PlotSpec spec;
    PlotBars bins;
    bins.from = {2, 3, 4, 5};
    bins.to = {3, 4, 5};  // the fourth bar has no end: left out
    bins.value = {7, kNaN, 12, 1};
    spec.bars.push_back(bins);
    const auto shown = shownBars(spec.bars[0], false, false);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].x0, 4);
    EXPECT_EQ(shown[1].y1, 12);
    DataRanges r = shownRanges(spec);
    EXPECT_EQ(r.x.min, 2);
    EXPECT_EQ(r.x.max, 5);
    EXPECT_EQ(r.y.min, 0);  // the base
    EXPECT_EQ(r.y.max, 12);
    // On a logarithmic value axis a base of 0 cannot be shown: no bar is.
    EXPECT_TRUE(shownBars(spec.bars[0], false, true).empty());

    PlotIntervals lying;
    lying.horizontal = true;
    lying.at = {0, 1};
    lying.low = {0.2, -0.1};
    lying.high = {0.4, kInf};
    spec.intervals.push_back(lying);
    spec.bars[0].horizontal = true;  // now along x, from 0 to 12, across y from 2 to 5
    const auto intervals = shownIntervals(spec.intervals[0], false, false);
    ASSERT_EQ(intervals.size(), 1u);
    EXPECT_EQ(intervals[0].x0, 0.2);
    EXPECT_EQ(intervals[0].y0, 0);
    EXPECT_EQ(intervals[0].y1, 0);
    r = shownRanges(spec);
    EXPECT_EQ(r.x.min, 0);
    EXPECT_EQ(r.x.max, 12);
    EXPECT_EQ(r.y.min, 0);
    EXPECT_EQ(r.y.max, 5);

    const AxisScale axis = labelledAxis(-0.5, 1.5, {{1, "mue"}, {0, "Feuchteleit"}, {2, "weg"}});
    EXPECT_EQ(axis.lo, -0.5);
    EXPECT_EQ(axis.hi, 1.5);
    ASSERT_EQ(axis.ticks.size(), 2u);
    EXPECT_EQ(axis.ticks[0].label, "Feuchteleit");
    EXPECT_EQ(axis.fraction(1), 0.75);
    const AxisScale single = labelledAxis(3, 3, {{3, "eins"}});
    EXPECT_EQ(single.lo, 2.5);
    EXPECT_EQ(single.hi, 3.5);
}

}  // namespace tesmo
