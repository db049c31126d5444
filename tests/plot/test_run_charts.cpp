#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "display/headless_window.h"
#include "display/run_control.h"
#include "model/moist_air.h"
#include "plot/mollier.h"
#include "plot/plot_files.h"
#include "plot/plot_painter.h"
#include "plot/run_charts.h"

namespace tesmo {

namespace {

// A whole run of a thin plate, kept as the diagram window keeps it.
struct KeptRun {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    RunRecord record;

    explicit KeptRun(InputTexts texts = defaultInputTexts()) {
        texts[Control::txt_Dicke] = "4";
        HeadlessWindow window(*st);
        RunCapture capture;
        window.setInputTexts(texts);
        window.setCapture(&capture);
        RunControl control(window);
        control.cmd_Start_Click();
        record = recordOfRun(*st, &capture, texts);
    }
};

const KeptRun& thinRun() {
    static const KeptRun run;
    return run;
}

const PlotSeries& seriesNamed(const PlotSpec& spec, const std::string& label) {
    for (const PlotSeries& s : spec.series)
        if (s.label == label) return s;
    static const PlotSeries none;
    ADD_FAILURE() << "no series " << label;
    return none;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(PlotData, LinesAreCutAtTheBoxAndThinnedCurvesKeepTheirPeaks) {
    const PlotBox box{0, 0, 10, 10};
    // In, out through the right edge, back in through the top: two parts, cut at the edges.
    const auto parts = clipToBox({{5, 5}, {15, 5}, {15, -5}, {5, 5}}, box);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].back().x, 10);
    EXPECT_EQ(parts[1].front().y, 0);
    EXPECT_EQ(parts[1].front().x, 10);
    EXPECT_EQ(parts[1].back().x, 5);
    EXPECT_TRUE(clipToBox({{-5, -5}, {-1, 20}}, box).empty());
    EXPECT_EQ(clipToBox({{-5, 5}, {15, 5}}, box)[0].size(), 2u);  // crossing the whole box

    std::vector<double> y(100000, 1.0);
    y[31337] = 50;   // a spike one record wide
    y[70000] = -20;  // and a dip
    y[500] = std::nan("");
    const std::vector<std::size_t> kept = thinnedIndices(y, 700);
    EXPECT_LE(kept.size(), 2 * 700 + 3u);
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), y.size() - 1);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    for (std::size_t must : {std::size_t{31337}, std::size_t{70000}, std::size_t{500}})
        EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), must)) << must;
    EXPECT_EQ(thinnedIndices({1, 2, 3}, 700).size(), 3u);
}

TEST(PlotFrame, MapsPixelsToValuesAndFindsTheNearestPoint) {
    PlotFrame frame;
    frame.drawn = true;
    frame.box = {100, 50, 500, 350};
    frame.x = {0, 10, false, {}, {}};
    frame.y = {1, 1000, true, {}, {}};
    EXPECT_DOUBLE_EQ(frame.xAt(300), 5);
    EXPECT_NEAR(frame.yAt(200), std::sqrt(1000.0), 1e-9);  // half way up a log axis
    const PlotPoint p = frame.pixelOf(2.5, 10);
    EXPECT_DOUBLE_EQ(p.x, 200);
    EXPECT_DOUBLE_EQ(p.y, 250);
    PlotSpec spec;
    spec.logY = true;
    spec.series.push_back({"a", {2.5, 7.5}, {10, 100}});
    spec.series.push_back({"b", {2.5}, {12}});
    EXPECT_EQ(nearestPoint(spec, frame, 203, 250, 10).series, 0);
    EXPECT_EQ(nearestPoint(spec, frame, 200, 236, 10).series, 1);
    EXPECT_EQ(nearestPoint(spec, frame, 450, 320, 10).series, -1);
}

TEST(Mollier, TheSaturationAndHumidityLinesLieOnTheMoistAirFunctions) {
    // Oblique coordinates: the upward coordinate is the temperature at x = 0 and back again.
    for (double theta : {-10.0, 0.0, 35.0, 84.0})
        for (double x : {0.0, 0.01, 0.05}) {
            EXPECT_NEAR(mollierTheta(mollierY(theta, x), x), theta, 1e-12);
            EXPECT_NEAR(enthalpy(theta, x), 1.005 * theta + x * (2500 + 1.86 * theta), 1e-12);
        }
    EXPECT_DOUBLE_EQ(mollierY(40, 0), 40);
    EXPECT_GT(mollierY(40, 0.02), 40);  // isotherms rise with the water load

    const PlotSpec spec = mollierChart({{&thinRun().record, "Lauf 1", 0}});
    const PlotSeries& saturation = seriesNamed(spec, "Sättigungslinie (φ = 100 %)");
    ASSERT_GT(saturation.x.size(), 50u);
    for (std::size_t i = 0; i < saturation.x.size(); ++i) {
        const double x = saturation.x[i] / 1000;
        const double theta = mollierTheta(saturation.y[i], x);
        EXPECT_NEAR(relFeuchte(x, theta), 1, 1e-12) << theta;
        const double p = Saettigungsdruck(theta);
        EXPECT_NEAR(x, 0.622 * p / (1 - p), 1e-15) << theta;
    }
    // The nine humidity lines: the 10 % line at 35 °C holds a tenth of the saturation pressure.
    int humidityLines = 0;
    for (const PlotSeries& s : spec.series) {
        if (!s.label.empty() || s.x.size() < 20) continue;
        const double x = s.x[0] / 1000, theta = mollierTheta(s.y[0], x);
        const double phi = relFeuchte(x, theta);
        EXPECT_NEAR(phi * 10, std::round(phi * 10), 1e-9);
        ++humidityLines;
    }
    EXPECT_EQ(humidityLines, 9);
    // The path starts at the exhaust air (70 %) and ends near the supply air.
    const PlotSeries& path = seriesNamed(spec, "Luft längs der Platte");
    EXPECT_NEAR(
        relFeuchte(path.x.front() / 1000, mollierTheta(path.y.front(), path.x.front() / 1000)),
        0.70, 1e-5);
    EXPECT_NE(mollierPositionText(10, 40).find("φ"), std::string::npos);
}

TEST(RunCharts, TheBigotCurveIsTheCappedShrinkageOverTheMeanWaterLoad) {
    const RunRecord& r = thinRun().record;
    const PlotSpec spec = runChart(RunChart::Bigot, {{&r, "Lauf 1", 0}});
    const PlotSeries& surface = seriesNamed(spec, "Oberfläche");
    ASSERT_FALSE(surface.x.empty());
    std::size_t capped = 0;
    for (std::size_t i = 0; i < surface.x.size(); ++i) {
        // Each point is a record: the mean water load and the surface shrinkage of the same
        // record, by hand from the surface water load.
        const auto j = static_cast<std::size_t>(
            std::find(r.histories[kXmom].begin(), r.histories[kXmom].end(), surface.x[i]) -
            r.histories[kXmom].begin());
        ASSERT_LT(j, r.records());
        const double X = r.histories[kXOb][j];
        const double expected = X < r.XSchwEnde ? 6.2 : 6.2 * (r.XAnf - X) / (r.XAnf - r.XSchwEnde);
        EXPECT_NEAR(surface.y[i], expected, 1e-12) << "record " << j;
        capped += surface.y[i] == 6.2;
    }
    EXPECT_GT(capped, 10u);
    // The evenly drying plate: straight from (XAnf, 0) to (XSchwEnde, 6.2 %), then level.
    const PlotSeries& even = seriesNamed(spec, "gleichmäßig feuchte Platte");
    EXPECT_EQ(even.x, (std::vector<double>{r.XAnf, r.XSchwEnde, 0}));
    EXPECT_EQ(even.y, (std::vector<double>{0, 6.2, 6.2}));
}

TEST(RunCharts, OneRunHasAColourPerCurveSeveralRunsAColourPerRunAndAPatternPerCurve) {
    const RunRecord& r = thinRun().record;
    const PlotSpec one = runChart(RunChart::Temperaturen, {{&r, "Lauf 1", 3}});
    ASSERT_EQ(one.series.size(), 3u);
    std::set<std::tuple<int, int, int>> colours;
    std::set<Dash> dashes;
    for (const PlotSeries& s : one.series) {
        colours.insert({s.colour.r, s.colour.g, s.colour.b});
        dashes.insert(s.dash);
        EXPECT_LE(s.x.size(), 2 * kCurveBuckets + 2);
        EXPECT_NEAR(s.x.back(), r.time.back() / 3600, 1e-12);  // hours
    }
    EXPECT_EQ(colours.size(), 3u);
    EXPECT_EQ(dashes.size(), 3u);  // readable in black and white
    EXPECT_EQ(one.xTitle, "Zeit in h");
    ASSERT_EQ(one.guides.size(), 1u);  // the end of the first period
    EXPECT_NEAR(one.guides[0].at, r.t1TA / 3600, 1e-12);

    RunRecord file = r;  // a history file without inputs: no times
    file.time.clear();
    const PlotSpec two = runChart(RunChart::Temperaturen,
                                  {{&r, "Lauf 1", 0}, {&r, "Lauf 2", 1}, {&file, "Lauf 4", 3}});
    ASSERT_EQ(two.series.size(), 6u);
    EXPECT_EQ(two.series[4].label, "Lauf 2 – Oberfläche");
    EXPECT_EQ(two.series[0].colour, seriesColour(0));
    EXPECT_EQ(two.series[5].colour, seriesColour(1));
    EXPECT_EQ(two.series[1].dash, two.series[4].dash);
    EXPECT_NE(two.note.find("Lauf 4 ohne Zeitachse"), std::string::npos);
    EXPECT_TRUE(two.guides.empty());

    // Every diagram of a run has data; the profiles show the drawn ones, dry layers at 0.
    for (const RunChartInfo& info : runCharts()) {
        const PlotSpec spec = runChart(info.chart, {{&r, "Lauf 1", 0}});
        EXPECT_FALSE(shownRanges(spec).x.empty()) << info.name;
        EXPECT_FALSE(spec.title.empty()) << info.name;
    }
    const PlotSpec profiles = runChart(RunChart::Profile, {{&r, "Lauf 1", 0}});
    for (const PlotSeries& s : profiles.series)
        for (double v : s.y)
            EXPECT_GE(v, 0);
    EXPECT_EQ(positionText(RunChart::Temperaturen, one, 2.5, 40),
              "Zeit 2,500 h, Temperatur 40,00 °C");
}

TEST(RunCharts, TheTimeHistorySvgHasOnePolylinePerCurveAndTextAsText) {
    const RunRecord& r = thinRun().record;
    const PlotSpec spec = runChart(RunChart::Wasserbeladung, {{&r, "Lauf 1", 0}});
    const std::string svg = plotSvg(spec, QSize(960, 600)).toStdString();
    int curves = 0;
    const std::string key = "points=\"";
    for (std::size_t at = svg.find(key); at != std::string::npos; at = svg.find(key, at + 1)) {
        const std::size_t end = svg.find('"', at + key.size());
        curves += std::count(svg.begin() + static_cast<long>(at),
                             svg.begin() + static_cast<long>(end), ',') > 20;
    }
    EXPECT_EQ(curves, 3);  // mean, surface and core: one polyline each
    for (const char* text : {"Wasserbeladung der Platte", "Zeit in h", "Oberfläche", "0,25"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_EQ(count(svg, "<image"), 0);
    EXPECT_LT(svg.size(), 150u * 1024);
}

TEST(PlotFiles, APdfPageAndAnImageOfTwiceThePixels) {
    const RunRecord& r = thinRun().record;
    const PlotSpec spec = runChart(RunChart::Schwindung, {{&r, "Lauf 1", 0}});
    const QImage image = plotImage(spec, QSize(400, 300), 2);
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    const std::string path = testing::TempDir() + "tesmo_schwindung.pdf";
    std::string error;
    ASSERT_TRUE(writePlotPdf(path, spec, QSize(960, 600), &error)) << error;
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(std::string(head), "%PDF");
    EXPECT_FALSE(writePlotPdf(testing::TempDir() + "fehlt/x.pdf", spec, QSize(960, 600), &error));
    EXPECT_NE(error.find("fehlt/x.pdf"), std::string::npos);
}

}  // namespace tesmo
