// The recording canvas: what reaches the wrapped surface, and the display list it keeps.
#include <gtest/gtest.h>

#include <vector>

#include "display/recording_canvas.h"
#include "tests/display/tracing_canvas.h"

namespace tesmo {
namespace {

using test::CanvasCall;
using test::TracingCanvas;
using Kind = DisplayList::Kind;

constexpr ChartExtent kExtent = chartExtent(Chart::Ausgabe);

struct Recorder {
    TracingCanvas surface;
    RecordingCanvas canvas;
    explicit Recorder(std::size_t maxPoints = RecordingCanvas::kMaxPoints)
        : canvas(surface, kExtent, maxPoints) {}
    const std::vector<DisplayList::Item>& items() const { return canvas.displayList().items(); }
};

std::vector<ChartPoint> points(std::initializer_list<ChartPoint> p) {
    return p;
}

TEST(RecordingCanvas, JoinedSegmentsOfOnePenBecomeOnePolyline) {
    Recorder r;
    r.canvas.setLineWidth(2);
    r.canvas.line(0, 0, 10, 5, kBlack);
    r.canvas.line(10, 5, 20, 5, kBlack);
    r.canvas.line(20, 5, 30, 0, kBlack);
    r.canvas.line(30, 0, 40, 0, kRed);  // another colour
    r.canvas.line(50, 0, 60, 0, kRed);  // a gap
    r.canvas.setLineWidth(3);
    r.canvas.line(60, 0, 70, 0, kRed);  // another width
    r.canvas.setLineStyle(LineStyle::DashDotDot);
    r.canvas.line(70, 0, 80, 0, kRed);  // another style
    ASSERT_EQ(r.items().size(), 5u);
    EXPECT_EQ(r.items()[0].points, points({{0, 0}, {10, 5}, {20, 5}, {30, 0}}));
    EXPECT_EQ(r.items()[0].pen, (ChartPen{kBlack, 2, LineStyle::Solid}));
    EXPECT_EQ(r.items()[1].pen, (ChartPen{kRed, 2, LineStyle::Solid}));
    EXPECT_EQ(r.items()[2].points, points({{50, 0}, {60, 0}}));
    EXPECT_EQ(r.items()[3].pen.width, 3);
    EXPECT_EQ(r.items()[4].pen.style, LineStyle::DashDotDot);
    EXPECT_EQ(r.canvas.displayList().pointCount(), 12u);
    // Every call reaches the surface as it came.
    EXPECT_EQ(r.surface.trace(), "w2 black*3 red*2 w3 red dash red");
}

TEST(RecordingCanvas, CurvesDrawnSideBySideEachBecomeOnePolylineUntilABox) {
    Recorder r;
    for (int i = 0; i < 4; ++i) {
        r.canvas.line(i * 10.0f, 0, (i + 1) * 10.0f, 0, kBlack);
        r.canvas.line(i * 10.0f, 50, (i + 1) * 10.0f, 50, kBlack);
        r.canvas.line(i * 10.0f, 100, (i + 1) * 10.0f, 100, kGreen);
    }
    ASSERT_EQ(r.items().size(), 3u);
    for (const auto& item : r.items())
        EXPECT_EQ(item.points.size(), 5u);
    // A box ends them: what follows it is drawn after it, never moved before it.
    r.canvas.fillBox(0, 0, 100, 100, kWhite);
    r.canvas.line(40, 0, 50, 0, kBlack);
    ASSERT_EQ(r.items().size(), 5u);
    EXPECT_EQ(r.items()[3].kind, Kind::Box);
    EXPECT_EQ(r.items()[4].points, points({{40, 0}, {50, 0}}));
}

TEST(RecordingCanvas, AFillOverTheWholeChartStartsTheListAnewAndASmallerOneIsKept) {
    Recorder r;
    r.canvas.line(0, 0, 100, 100, kBlack);
    r.canvas.fillBox(0, 0, 10500, 5000, kWhite);  // as at Start: the bottom sixth stays
    EXPECT_EQ(r.items().size(), 2u);
    r.canvas.fillBox(0, 0, 10530, 6030, kWhite);  // as "Nochmal !"
    ASSERT_EQ(r.items().size(), 1u);
    EXPECT_EQ(r.items()[0].kind, Kind::Box);
    EXPECT_EQ(r.items()[0].pen.colour, kWhite);
    EXPECT_EQ(r.surface.count(CanvasCall::Box), 2);
}

TEST(RecordingCanvas, AListAtItsBoundStopsButTheSurfaceStillGetsEverything) {
    Recorder r(5);
    r.canvas.line(0, 0, 1, 1, kBlack);
    r.canvas.line(1, 1, 2, 2, kBlack);
    r.canvas.line(5, 5, 6, 6, kBlack);  // two more points: five in all
    EXPECT_TRUE(r.canvas.displayList().complete());
    r.canvas.line(6, 6, 7, 7, kBlack);
    r.canvas.line(9, 9, 8, 8, kRed);
    EXPECT_FALSE(r.canvas.displayList().complete());
    EXPECT_EQ(r.canvas.displayList().pointCount(), 5u);
    EXPECT_EQ(r.surface.count(CanvasCall::Line), 5);
    // Once the chart is wholly cleared, the list is whole again.
    r.canvas.fillBox(0, 0, 10500, 6000, kWhite);
    r.canvas.line(0, 0, 1, 1, kBlack);
    EXPECT_TRUE(r.canvas.displayList().complete());
    EXPECT_EQ(r.items().size(), 2u);
}

}  // namespace
}  // namespace tesmo
