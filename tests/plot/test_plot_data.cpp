#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

}  // namespace tesmo
