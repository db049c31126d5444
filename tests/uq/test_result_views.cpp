// What the window, the PDF report and the statistics file show of an analysis: the charts
// mark the statistics' own values, the file gives them back to the last bit, and withheld
// indices leave an empty chart that says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "files/table_format.h"
#include "tests/test_files.h"
#include "tests/uq/analytic.h"
#include "uq/result_texts.h"
#include "uq/statistics_csv.h"
#include "uq/uncertainty_charts.h"

namespace tesmo {

namespace {

using test::marginal;
using K = DistributionKind;

// Laufzeit = 1000 + 100·a + 30·b of a normal and a uniform input, 400 cases, a limit on it.
UncertaintyAnalysis linearStudy(UncertaintyPlan& plan) {
    plan = test::analyticPlan({marginal(Control::txt_mue, K::Normal, {0, 1}),
                               marginal(Control::txt_Dicke, K::Uniform, {0, 1})},
                              400, 3);
    plan.indices = IndexMethod::Chaos;
    plan.limits = {{test::kLaufzeit, LimitSide::Above, 1150}};
    const UncertaintySample s = drawSample(plan);
    return analyseUncertainty(plan, s, test::analyticOutcomes(s, [](const double* x) {
                                  return 1000 + 100 * x[0] + 30 * x[1];
                              }));
}

const PlotGuide* guideNamed(const PlotSpec& spec, const std::string& start) {
    for (const PlotGuide& g : spec.guides)
        if (g.label.rfind(start, 0) == 0) return &g;
    return nullptr;
}

}  // namespace

TEST(UqResultViews, TheHistogramMarksTheQuantilesAndLimitsAtTheirValues) {
    UncertaintyPlan plan;
    const UncertaintyAnalysis a = linearStudy(plan);
    const ResultStatistics& s = a.statistics[0];
    const PlotSpec chart = histogramChart(a, 0);
    EXPECT_EQ(chart.xTitle, "laufende Zeit in s");
    ASSERT_EQ(chart.bars.size(), 1u);
    const PlotBars& bins = chart.bars[0];
    EXPECT_EQ(bins.from.front(), s.histogram.edges.front());
    EXPECT_EQ(bins.to.back(), s.histogram.edges.back());
    double cases = 0;
    for (double v : bins.value)
        cases += v;
    EXPECT_EQ(cases, 400);

    const PlotGuide* q05 = guideNamed(chart, "5-%-Quantil");
    const PlotGuide* median = guideNamed(chart, "Median");
    const PlotGuide* q95 = guideNamed(chart, "95-%-Quantil");
    ASSERT_TRUE(q05 && median && q95);
    EXPECT_EQ(q05->at, s.q05.value);
    EXPECT_EQ(median->at, s.q50.value);
    EXPECT_EQ(q95->at, s.q95.value);
    EXPECT_EQ(q95->label, "95-%-Quantil " + withInterval(s.q95, readableNumber) + " s");
    // Each quantile's interval lies above the bins.
    ASSERT_EQ(chart.intervals.size(), 1u);
    EXPECT_EQ(chart.intervals[0].low, (std::vector<double>{s.q05.low, s.q50.low, s.q95.low}));
    EXPECT_GT(chart.intervals[0].at[0], *std::max_element(bins.value.begin(), bins.value.end()));

    const PlotGuide* limit = guideNamed(chart, "Grenze > 1150 s");
    ASSERT_TRUE(limit);
    EXPECT_EQ(limit->at, 1150);
    EXPECT_EQ(limit->label, "Grenze > 1150 s: jenseits mit " +
                                withInterval(a.limits[0].probability, percentText));
    // The value axis of the tables is the chart's: the statistics table shows the same texts.
    const TextTable table = statisticsTable(a);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][0], "Laufzeit");
    EXPECT_EQ(table.rows[0][7], withInterval(s.q95, readableNumber));
    EXPECT_EQ(limitsTable(a).rows[0][0], "Laufzeit > 1150 s");
}

TEST(UqResultViews, TheIndexChartShowsEachGroupsIndicesOrWhyThereAreNone) {
    UncertaintyPlan plan;
    UncertaintyAnalysis a = linearStudy(plan);
    const ResultIndices& r = a.indices[0];
    ASSERT_TRUE(r.reported) << r.reason;
    const PlotSpec chart = sobolChart(a, 0);
    // The first group at the top: named places from the bottom up.
    ASSERT_EQ(chart.yLabels.size(), 2u);
    EXPECT_EQ(chart.yLabels[0].label, "mue");
    EXPECT_EQ(chart.yLabels[0].value, 1);
    ASSERT_EQ(chart.bars.size(), 2u);
    EXPECT_EQ(chart.bars[0].value,
              (std::vector<double>{r.indices[0].first.value, r.indices[1].first.value}));
    EXPECT_EQ(chart.bars[1].value,
              (std::vector<double>{r.indices[0].total.value, r.indices[1].total.value}));
    EXPECT_EQ(chart.bars[1].fill, Fill::Light);
    // 100² against 30²/12: the normal input causes 99,3 % of the variance.
    EXPECT_NEAR(chart.bars[0].value[0], 10000 / (10000 + 75.0), 1e-6);
    ASSERT_EQ(chart.intervals[0].low.size(), 4u);
    EXPECT_EQ(chart.intervals[0].high[1], r.indices[0].total.high);
    EXPECT_LE(chart.xLimits.min, 0);
    EXPECT_GE(chart.xLimits.max, 1);
    EXPECT_EQ(indicesTable(a, 0).rows.size(), 2u);
    EXPECT_NE(chart.note.find("Q² > 0,9999"), std::string::npos) << chart.note;

    a.indices[0].reported = false;
    a.indices[0].reason = "das Ergebnis streut in den gerechneten Fällen nicht";
    const PlotSpec none = sobolChart(a, 0);
    EXPECT_TRUE(none.bars[0].value.empty());
    EXPECT_EQ(none.note, "Keine Indizes: das Ergebnis streut in den gerechneten Fällen nicht.");
    EXPECT_TRUE(indicesTable(a, 0).rows.empty());
}

// The statistics file holds every estimate as the shortest text that reads back to it, in
// both table formats.
TEST(UqResultViews, TheStatisticsFileGivesBackEveryNumberExactly) {
    UncertaintyPlan plan;
    const UncertaintyAnalysis a = linearStudy(plan);
    const std::vector<std::string> rows = test::lines(statisticsCsv(a));
    ASSERT_EQ(rows.size(), 1u + 5 + 1 + 4);
    EXPECT_EQ(rows[0], "result,unit,statistic,input,limit,value,low,high,cases");
    const auto cells = [&](std::size_t i) { return test::csvCells(rows[i]); };
    const auto number = [](const std::string& cell) {
        double v = 0;
        EXPECT_TRUE(readTableNumber(cell, v)) << cell;
        return v;
    };
    const ResultStatistics& s = a.statistics[0];
    EXPECT_EQ(number(cells(1)[5]), s.mean.value);
    EXPECT_EQ(number(cells(1)[6]), s.mean.low);
    EXPECT_EQ(cells(2)[2], "sd");
    EXPECT_EQ(cells(2)[6], "");  // no interval
    EXPECT_EQ(number(cells(5)[7]), s.q95.high);
    EXPECT_EQ(cells(6), (std::vector<std::string>{"Laufzeit", "s", "probability", "", "> 1150",
                                                  cells(6)[5], cells(6)[6], cells(6)[7], "400"}));
    EXPECT_EQ(number(cells(6)[5]), a.limits[0].probability.value);
    EXPECT_EQ(cells(9)[2], "first");
    EXPECT_EQ(cells(9)[3], "txt_Dicke");
    EXPECT_EQ(number(cells(9)[5]), a.indices[0].indices[1].first.value);

    const std::string german = statisticsCsv(a, TableFormat::German);
    EXPECT_EQ(german.rfind("\xEF\xBB\xBFresult;unit;statistic;", 0), 0u);
    EXPECT_NE(german.find(";probability;;> 1150;"), std::string::npos);
}

}  // namespace tesmo

namespace tesmo {

// What the report says of the inputs: each marginal with its parameters as exact as the file
// has them, a fitted block's inputs with their correlation, one on a log scale by its median.
TEST(UqResultViews, TheInputsTableNamesEachDistributionAndTheFittedBlock) {
    UncertaintyPlan plan;
    plan.marginals = {
        test::marginal(Control::txt_AbluftFeuchte, DistributionKind::Normal, {70, 3}),
        test::marginal(Control::txt_mue, DistributionKind::Triangular, {15, 17.5, 25})};
    CorrelatedNormal block;
    block.fields = {Control::txt_Feuchteleit, Control::txt_KappaSteig};
    block.mean = {std::log(40.0), 6.7};
    block.covariance = {0.04, 0.06, 0.06, 0.25};  // correlation 0,06 / (0,2 · 0,5) = 0,6
    block.scale = {Scale::Log, Scale::Linear};
    block.source = "ergebnis.tgfit";
    plan.correlated = {block};

    const TextTable t = inputsTable(plan);
    ASSERT_EQ(t.rows.size(), 4U);
    EXPECT_EQ(t.rows[0][0], "txt_AbluftFeuchte");
    EXPECT_EQ(t.rows[0][2], "normal, Mittelwert 70, Standardabweichung 3");
    EXPECT_EQ(t.rows[1][2], "dreieckig von 15 über 17,5 bis 25");
    EXPECT_EQ(t.rows[2][0], "txt_Feuchteleit");
    EXPECT_NE(t.rows[2][2].find("lognormal, korreliert, Median 40"), std::string::npos)
        << t.rows[2][2];
    EXPECT_NE(t.rows[2][2].find("(aus ergebnis.tgfit)"), std::string::npos);
    EXPECT_NE(t.rows[3][2].find("normal, korreliert, Mittelwert 6,7"), std::string::npos)
        << t.rows[3][2];

    EXPECT_NEAR(correlation(block, 0, 1), 0.6, 1e-12);
    EXPECT_DOUBLE_EQ(correlation(block, 1, 1), 1.0);
    const TextTable c = correlationTable(block);
    ASSERT_EQ(c.rows.size(), 2U);
    EXPECT_EQ(c.rows[0], (std::vector<std::string>{"txt_Feuchteleit", "1,000", "0,600"}));
}

}  // namespace tesmo
