#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "plot/plot_files.h"
#include "plot/plot_painter.h"

namespace tesmo {
namespace {

// One application object for the whole program, as the fonts need it; drawn offscreen.
class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[17] = "tesmo_plot_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};
const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        path = std::filesystem::temp_directory_path() /
               ("tesmo_plot_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The number of points of every <polyline> in an SVG document.
std::vector<int> polylinePointCounts(const std::string& svg) {
    std::vector<int> counts;
    const std::string key = "points=\"";
    for (std::size_t at = svg.find(key); at != std::string::npos; at = svg.find(key, at + 1)) {
        const std::size_t end = svg.find('"', at + key.size());
        const std::string points = svg.substr(at + key.size(), end - at - key.size());
        counts.push_back(static_cast<int>(std::count(points.begin(), points.end(), ',')));
    }
    return counts;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

PlotSpec studySpec() {
    PlotSpec spec;
    spec.title = "Fehler über dem Zeitschritt";
    spec.xTitle = "Zeitschritt Δt in s";
    spec.yTitle = "Fehler in %";
    spec.note = "1 Fall nicht beendet, nicht gezeigt";
    spec.logX = spec.logY = true;
    spec.series.push_back({"Modell",
                           {0.125, 0.25, 0.5, 1, 2, std::nan(""), 8, 16, 32},
                           {0.1, 0.2, 0.41, 0.8, 1.7, 3, 6.4, 13, 27},
                           seriesColour(0),
                           true,
                           true});
    spec.series.push_back(
        {"Steigung 1", {0.125, 1, 32}, {0.1, 0.8, 25.6}, kBlack, true, false, Dash::Dashed});
    return spec;
}

TEST(PlotFiles, SvgKeepsLinesAsPolylinesAndTextAsText) {
    const std::string svg = plotSvg(studySpec(), QSize(640, 400)).toStdString();
    ASSERT_FALSE(svg.empty());
    EXPECT_EQ(svg.find("<image"), std::string::npos);  // nothing rasterised
    // The model's line breaks at the point that is not a number; each run and the reference
    // line is one polyline (grid lines and ticks have two points).
    const std::vector<int> lines = polylinePointCounts(svg);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), 5), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), 3), 2);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](int n) { return n > 5; }), 0);
    // Qt writes a run of Greek letters as a text of its own.
    for (const char* text :
         {"Fehler über dem Zeitschritt", "Zeitschritt ", "Δ", "t in s", "Fehler in %",
          "1 Fall nicht beendet, nicht gezeigt", "Modell", "Steigung 1", "0,1", "10"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_GE(count(svg, "<text"), 10);
    EXPECT_EQ(svg, plotSvg(studySpec(), QSize(640, 400)).toStdString());  // reproducible
}

TEST(PlotFiles, WritesSvgAndPngAtomicallyAndNamesTheFileOnFailure) {
    TempFolder folder;
    std::string error;
    const std::string svgPath = folder.file("plot.svg");
    ASSERT_TRUE(writePlotSvg(svgPath, studySpec(), QSize(640, 400), &error)) << error;
    EXPECT_NE(readAll(svgPath).find("</svg>"), std::string::npos);

    const std::string pngPath = folder.file("plot.png");
    ASSERT_TRUE(writePlotPng(pngPath, studySpec(), QSize(320, 200), &error)) << error;
    const QImage image(QString::fromStdString(pngPath));
    ASSERT_EQ(image.size(), QSize(320, 200));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        dark += image.pixelColor(x, image.height() / 2).lightness() < 100;
    EXPECT_GT(dark, 0);  // the frame crosses the middle row

    // A folder in the way: nothing written, the old file stays, the message names the path.
    const std::string before = readAll(svgPath);
    const std::string blocked = folder.file("missing/plot.svg");
    EXPECT_FALSE(writePlotSvg(blocked, studySpec(), QSize(640, 400), &error));
    EXPECT_NE(error.find(blocked), std::string::npos);
    EXPECT_FALSE(writePlotPng(folder.path.string(), studySpec(), QSize(64, 40), &error));
    EXPECT_EQ(readAll(svgPath), before);
}

TEST(PlotFiles, AnAreaTooSmallForTheTextsStaysEmpty) {
    for (QSize size : {QSize(40, 30), QSize(1, 1)}) {
        const std::string svg = plotSvg(studySpec(), size).toStdString();
        EXPECT_EQ(svg.find("<text"), std::string::npos) << size.width();
        EXPECT_TRUE(polylinePointCounts(svg).empty()) << size.width();
    }
}

TEST(PlotFiles, APictureWithoutAreaIsAFailureNotAnEmptyFile) {
    TempFolder folder;
    std::string error;
    const std::string path = folder.file("leer.svg");
    EXPECT_TRUE(plotSvg(studySpec(), QSize(0, 10)).isEmpty());
    EXPECT_FALSE(writePlotSvg(path, studySpec(), QSize(0, 10), &error));
    EXPECT_NE(error.find("ohne Fläche"), std::string::npos) << error;
    EXPECT_FALSE(writePlotPng(path, studySpec(), QSize(10, -1), &error));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PlotFiles, APlotWithoutShowableDataSaysSo) {
    PlotSpec spec;
    spec.xTitle = "x";
    spec.series.push_back({"", {std::nan("")}, {1}});
    const std::string svg = plotSvg(spec, QSize(300, 200)).toStdString();
    EXPECT_NE(svg.find("keine darstellbaren Werte"), std::string::npos);
    EXPECT_EQ(std::count(svg.begin(), svg.end(), '\n') > 0, true);
    const std::vector<int> lines = polylinePointCounts(svg);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](int n) { return n != 2; }), 0);
}

// A long legend label: beside the plot it is cut to leave the plot its room; below the plot it
// has a row of its own and stays whole (a quantile with its interval must not lose its end).
TEST(PlotFiles, ALegendBelowThePlotKeepsALongLabelWhole) {
    const std::string label = "95-%-Quantil 20 450 [19 914; 20 767] s, aus dem Bootstrap";
    PlotSpec spec = studySpec();
    spec.series[0].label = label;
    const std::string beside = plotSvg(spec, QSize(640, 400)).toStdString();
    EXPECT_EQ(beside.find(label), std::string::npos);
    EXPECT_NE(beside.find("…"), std::string::npos);
    spec.legendBelow = true;
    const std::string below = plotSvg(spec, QSize(640, 400)).toStdString();
    EXPECT_NE(below.find(label), std::string::npos);
}

// A histogram with its bins as bars and a confidence interval, and a bar chart of named
// places: each drawn where its data lie, with its legend, and the named places as the only
// labels of their axis.
TEST(PlotFiles, BarsAndIntervalsAreDrawnWhereTheirDataLie) {
    PlotSpec spec;
    PlotBars bins;
    bins.label = "Fälle";
    bins.from = {0, 1, 2, 3};
    bins.to = {1, 2, 3, 4};
    bins.value = {3, 8, 0, 5};
    bins.colour = Rgb{0, 114, 178};
    spec.bars.push_back(bins);
    PlotIntervals interval;
    interval.label = "95-%-Intervall";
    interval.at = {2.5};
    interval.low = {2};
    interval.high = {6};
    spec.intervals.push_back(interval);

    QImage image(640, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    const PlotFrame frame = paintPlot(painter, QRectF(0, 0, 640, 400), spec);
    painter.end();
    ASSERT_TRUE(frame.drawn);
    const auto colourAt = [&](double x, double y) {
        const PlotPoint p = frame.pixelOf(x, y);
        return image.pixelColor(static_cast<int>(p.x), static_cast<int>(p.y));
    };
    EXPECT_EQ(colourAt(1.5, 4), QColor(0, 114, 178));    // inside the second bin
    EXPECT_NE(colourAt(1.5, 8.5), QColor(0, 114, 178));  // above it
    EXPECT_NE(colourAt(2.3, 1), QColor(0, 114, 178));    // the empty third bin
    EXPECT_LT(colourAt(2.5, 4).lightness(), 60);         // the interval's line
    EXPECT_LT(colourAt(2.5, 6).lightness(), 128);        // and its upper end
    EXPECT_GT(colourAt(2.5, 6.5).lightness(), 150);      // ends there
    EXPECT_GE(frame.y.lo, -1e-12);                       // the bars stand on 0

    // Lying bars of two fills over named places.
    PlotSpec chart;
    chart.yLabels = {{0, "Feuchteleit"}, {1, "mue"}};
    chart.yLimits = {-0.5, 1.5};
    chart.yGrid = false;
    for (const Fill fill : {Fill::Solid, Fill::Light}) {
        PlotBars b;
        b.label = fill == Fill::Solid ? "erster Ordnung" : "total";
        b.horizontal = true;
        b.fill = fill;
        b.colour = Rgb{213, 94, 0};
        const double shift = fill == Fill::Solid ? -0.2 : 0.2;
        b.from = {shift - 0.18, 1 + shift - 0.18};
        b.to = {shift + 0.18, 1 + shift + 0.18};
        b.value = {0.6, 0.3};
        chart.bars.push_back(b);
    }
    const std::string svg = plotSvg(chart, QSize(640, 400)).toStdString();
    for (const char* text : {"Feuchteleit", "mue", "erster Ordnung", "total"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    // No round numbers on the named axis, which spans −0,5 to 1,5.
    EXPECT_EQ(svg.find(">−0,5<"), std::string::npos);
    EXPECT_EQ(svg.find(">1,5<"), std::string::npos);
    EXPECT_NE(svg.find("#d55e00"), std::string::npos);  // solid fill and outline
    EXPECT_NE(svg.find("#f5d7bf"), std::string::npos);  // the light tint
}

}  // namespace
}  // namespace tesmo
