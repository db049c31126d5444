#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "display/recording_canvas.h"
#include "display/time_chart.h"
#include "tests/display/tracing_canvas.h"

namespace tesmo {
namespace {

using test::CanvasCall;
using test::TracingCanvas;

constexpr Rgb kGrey{235, 235, 230}, kPaleBlue{225, 225, 255}, kGreenRate{0, 255, 0},
    kPurple{255, 0, 245}, kOchre{200, 170, 0};

// A finished run of n + 1 records with distinct, plausible values in every history.
std::unique_ptr<RunState> run(int n) {
    auto st = std::make_unique<RunState>();
    st->HistIndex = n;
    st->Laufzeit = n + 1.0;  // the final step stores no record
    st->XAnf = 0.25;
    st->linTrSchwind = 6.5;
    st->thetaKG0 = 25;
    st->thetaLuftMom = 85;
    st->RateMax = 2.0;
    st->Ortsschritt = 0.0001;
    st->Dicke = 0.02;
    st->t1TA = 0.4 * st->Laufzeit;
    st->t1xse = 15;
    st->t2xse = 25;
    for (int i = 0; i <= n; ++i) {
        const double f = double(i) / (n > 0 ? n : 1);
        st->VerlaufXmom[i] = 0.25 * (1 - f);
        st->VerlaufXOb[i] = 0.2 * (1 - f);
        st->VerlaufXK[i] = 0.25 * (1 - f * f);
        st->VerlaufSpiegel[i] = 0.01 * f;
        st->VerlaufThetaLuft[i] = 35 + 50 * f;
        st->VerlaufThetaOb[i] = 25 + 40 * f;
        st->VerlaufThetaK[i] = 25 + 30 * f;
        st->VerlaufRate[i] = 2 - f;
        st->VerlaufSchwindOb[i] = 6.5 * f;
        st->VerlaufSchwindK[i] = 5.0 * f;
    }
    return st;
}

float xAt(double v, double vmax) {
    return float(10500 * v / vmax);
}

TEST(TimeChart, DrawsBandsMarkersAndCurvesInOrderWithTheirWidthsAndStyles) {
    auto st = run(35);
    TracingCanvas c;
    drawTimeHistory(*st, c);
    EXPECT_EQ(c.trace(),
              "w3 grey*3 R paleblue*3 w1 dash blue*2 red solid R "
              "w2 black*3 R w1 black*6 R w4 yellow*3 w1 black*3 R "
              "w2 ochre*3 R purple green purple green purple green R "
              "blue*8 red*3 R w1 R");
    // The marker lines are the only dash-dot-dot lines; everything else is solid.
    for (const auto& l : c.lines()) {
        const bool marker = l.y1 == 0 && l.y2 == 4300 && l.x1 == l.x2 && l.width == 1 &&
                            (l.colour == kBlue || l.colour == kRed);
        EXPECT_EQ(l.style == LineStyle::DashDotDot, marker);
    }
    const auto red = c.lines(kRed);
    EXPECT_FLOAT_EQ(red[0].x1, xAt(st->t1TA, st->Laufzeit));
    EXPECT_EQ(c.lines(kGreenRate)[0].width, 2);
    EXPECT_EQ(c.lines(kGrey)[0].width, 3);
    EXPECT_EQ(c.lines(kPaleBlue)[0].width, 3);
    EXPECT_EQ(c.lines(Rgb{240, 240, 0})[0].width, 4);
    EXPECT_EQ(c.style, LineStyle::Solid);
    EXPECT_EQ(c.width, 1);
}

TEST(TimeChart, FormsAAndBJoinEveryTenthRecordFromRecordOneAndZero) {
    auto st = run(35);
    TracingCanvas c;
    drawTimeHistory(*st, c);
    const auto yF = [&](double X) { return float(4300 - 4300 * X / 0.25); };
    const auto yT = [&](double t) { return float(4300 - 4300 * (t - 25) / 60); };
    // Form A (mean water load, width 2): records 1-11, 11-21, 21-31; 31 > 35 - 10 ends it.
    std::vector<CanvasCall> mean;
    for (const auto& l : c.lines(kBlack))
        if (l.width == 2) mean.push_back(l);
    ASSERT_EQ(mean.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const int i = 1 + 10 * k;
        EXPECT_FLOAT_EQ(mean[k].x1, xAt(i, 35));
        EXPECT_FLOAT_EQ(mean[k].x2, xAt(i + 10, 35));
        EXPECT_NEAR(mean[k].y1, yF(st->VerlaufXmom[i]), 1e-3);
        EXPECT_NEAR(mean[k].y2, yF(st->VerlaufXmom[i + 10]), 1e-3);
    }
    // Form B (air temperature, the last three red lines): records 0-10, 10-20, 20-30.
    const auto red = c.lines(kRed);
    ASSERT_EQ(red.size(), 4u);
    for (int k = 0; k < 3; ++k) {
        const int i = 10 * k;
        EXPECT_FLOAT_EQ(red[k + 1].x1, xAt(i, 35));
        EXPECT_FLOAT_EQ(red[k + 1].x2, xAt(i + 10, 35));
        EXPECT_NEAR(red[k + 1].y1, yT(st->VerlaufThetaLuft[i]), 1e-3);
    }
    // Rate: 0 at the bottom, RateMax at 660.
    const auto green = c.lines(kGreenRate);
    EXPECT_NEAR(green[0].y1, 4300 - 3640 * 2.0 / 2.0, 1e-3);
    // Water-load band: a vertical line per form-A record from surface to core water load.
    const auto band = c.lines(kGrey);
    EXPECT_EQ(band[1].x1, band[1].x2);
    EXPECT_FLOAT_EQ(band[1].x1, xAt(11, 35));
    EXPECT_NEAR(band[1].y1, yF(st->VerlaufXOb[11]), 1e-3);
    EXPECT_NEAR(band[1].y2, yF(st->VerlaufXK[11]), 1e-3);
}

TEST(TimeChart, ShrinkageCurvesStopAtTheirEndTimesAndCloseToFullShrinkage) {
    auto st = run(35);  // Laufzeit 36: surface ends at x 4375, core at 7291.7
    TracingCanvas c;
    drawTimeHistory(*st, c);
    const auto blue = c.lines(kBlue);
    ASSERT_EQ(blue.size(), 2u + 8u);
    const auto yS = [](double S) { return float(4300 - 4300 * S / 6.5); };
    // Surface: records 0-10 and 10-20 (shifted by one), stop at i = 21 (x 6300 > 4375).
    EXPECT_FLOAT_EQ(blue[2].x1, 0);
    EXPECT_FLOAT_EQ(blue[2].x2, xAt(10, 35));
    EXPECT_NEAR(blue[2].y2, yS(st->VerlaufSchwindOb[10]), 1e-3);
    EXPECT_FLOAT_EQ(blue[3].x1, xAt(10, 35));
    EXPECT_FLOAT_EQ(blue[3].x2, xAt(20, 35));
    // Closing segment from record 20 to full shrinkage (the top edge) at the end time, then the
    // top edge to the right end.
    EXPECT_FLOAT_EQ(blue[4].x1, xAt(20, 35));
    EXPECT_FLOAT_EQ(blue[4].x2, xAt(15, 36));
    EXPECT_EQ(blue[4].y2, 0);
    EXPECT_FLOAT_EQ(blue[5].x1, xAt(15, 36));
    EXPECT_EQ(blue[5].x2, 10500);
    EXPECT_EQ(blue[5].y1, 0);
    EXPECT_EQ(blue[5].y2, 0);
    // Core: 0-10, 10-20, 20-30 (i = 21 lies before 7291.7), bound ends it; closing from 30.
    EXPECT_FLOAT_EQ(blue[8].x2, xAt(30, 35));
    EXPECT_FLOAT_EQ(blue[9].x1, xAt(30, 35));
    EXPECT_FLOAT_EQ(blue[9].x2, xAt(25, 36));
    EXPECT_EQ(blue[9].y2, 0);
    // The shrinkage band stops with the core curve: i = 1, 11, 21.
    EXPECT_EQ(c.lines(kPaleBlue).size(), 3u);
    st->t2xse = 20;  // x 5833: i = 21 (6300) now ends the band before drawing
    TracingCanvas c2;
    drawTimeHistory(*st, c2);
    EXPECT_EQ(c2.lines(kPaleBlue).size(), 2u);
}

TEST(TimeChart, FewerThanElevenRecordsLeaveMarkersAndClosingSegmentsFromRecordZero) {
    auto st = run(9);
    st->Laufzeit = 10;
    st->t1xse = 5;
    st->t2xse = 8;
    st->VerlaufSchwindOb[0] = 0.65;  // 10 % of full shrinkage
    TracingCanvas c;
    drawTimeHistory(*st, c);
    EXPECT_EQ(c.trace(), "w3 R w1 dash blue*2 red solid R w2 R w1 R w4 w1 R w2 R R blue*3 R w1 R");
    const auto blue = c.lines(kBlue);
    EXPECT_EQ(blue[2].x1, 0);
    EXPECT_FLOAT_EQ(blue[2].y1, 4300 - 430);
    EXPECT_FLOAT_EQ(blue[2].x2, 5250);
    EXPECT_EQ(blue[2].y2, 0);
    EXPECT_EQ(blue[4].x1, 0);
    EXPECT_FLOAT_EQ(blue[4].x2, 8400);
    // Eleven records give form B its first segment but form A none.
    auto st10 = run(10);
    TracingCanvas c10;
    drawTimeHistory(*st10, c10);
    EXPECT_EQ(c10.lines(kOchre).size(), 1u);
    EXPECT_EQ(c10.lines(kBlack).size(), 0u);
}

TEST(TimeChart, NoShrinkageMeansNoBlueAndAtTheThresholdCurvesOnTheBottomEdge) {
    auto st = run(35);
    st->linTrSchwind = 0.0005;
    TracingCanvas below;
    drawTimeHistory(*st, below);
    EXPECT_TRUE(below.lines(kBlue).empty());
    for (const auto& l : below.lines(kPaleBlue)) {
        EXPECT_EQ(l.y1, 4300);
        EXPECT_EQ(l.y2, 4300);
    }
    st->linTrSchwind = 0.001;
    TracingCanvas at;
    drawTimeHistory(*st, at);
    const auto blue = at.lines(kBlue);
    EXPECT_EQ(blue.size(), 8u);  // the curves, but no marker lines
    for (const auto& l : blue) {
        EXPECT_EQ(l.style, LineStyle::Solid);
        EXPECT_EQ(l.y1, 4300);
        EXPECT_EQ(l.y2, 4300);
    }
}

TEST(TimeChart, UnfinishedShrinkageEndsAtTheLeftEdge) {
    auto st = run(35);
    st->t1xse = 0;
    st->t2xse = 0;
    TracingCanvas c;
    drawTimeHistory(*st, c);
    EXPECT_TRUE(c.lines(kPaleBlue).empty());
    const auto blue = c.lines(kBlue);
    ASSERT_EQ(blue.size(), 2u + 3u);
    EXPECT_EQ(blue[0].x1, 0);  // both marker lines on the left edge
    EXPECT_EQ(blue[1].x1, 0);
    // Surface: the closing segment straight up the left edge from record 0, then the top edge.
    EXPECT_EQ(blue[2].x1, 0);
    EXPECT_EQ(blue[2].x2, 0);
    EXPECT_EQ(blue[2].y1, 4300);
    EXPECT_EQ(blue[2].y2, 0);
    EXPECT_EQ(blue[3].x2, 10500);
    EXPECT_EQ(blue[4].x2, 0);
}

TEST(TimeChart, WithoutPositiveRateTheRateCurveIsLeftOut) {
    auto st = run(35);
    st->RateMax = 0;
    TracingCanvas c;
    drawTimeHistory(*st, c);
    EXPECT_TRUE(c.lines(kGreenRate).empty());
    EXPECT_EQ(c.lines(kPurple).size(), 3u);
    EXPECT_TRUE(c.allFinite());
}

TEST(TimeChart, DegenerateScalesNeverGiveNonFiniteCoordinates) {
    struct Case {
        const char* name;
        void (*change)(RunState&);
    };
    const Case cases[] = {
        {"no temperature rise", [](RunState& s) { s.thetaLuftMom = s.thetaKG0; }},
        {"Laufzeit 0", [](RunState& s) { s.Laufzeit = 0; }},
        {"n 0", [](RunState& s) { s.HistIndex = 0; }},
        {"n 0, Laufzeit 0", [](RunState& s) { s.HistIndex = 0, s.Laufzeit = 0; }},
        {"XAnf 0", [](RunState& s) { s.XAnf = 0; }},
        {"Dicke 0", [](RunState& s) { s.Dicke = 0; }},
        {"tiny RateMax", [](RunState& s) { s.RateMax = 1e-300, s.VerlaufRate[0] = -100; }},
        {"HistIndex beyond the arrays", [](RunState& s) { s.HistIndex = kHistorySize + 5; }},
        {"NaN in a history",
         [](RunState& s) { s.VerlaufThetaK[10] = std::numeric_limits<double>::quiet_NaN(); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto st = run(35);
        k.change(*st);
        TracingCanvas c;
        drawTimeHistory(*st, c);
        EXPECT_TRUE(c.allFinite());
        EXPECT_EQ(c.width, 1);
    }
    // Without a temperature rise the temperature curves lie flat on the bottom edge.
    auto st = run(35);
    st->thetaLuftMom = st->thetaKG0;
    TracingCanvas c;
    drawTimeHistory(*st, c);
    for (Rgb col : {kOchre, kPurple}) {
        for (const auto& l : c.lines(col)) {
            EXPECT_EQ(l.y1, 4300);
            EXPECT_EQ(l.y2, 4300);
        }
    }
    // A run of no length: every marker and the closing segments on the left edge.
    auto z = run(0);
    z->Laufzeit = 0;
    TracingCanvas cz;
    drawTimeHistory(*z, cz);
    EXPECT_EQ(cz.lines(kBlue).size(), 2u + 3u);
    EXPECT_EQ(cz.lines(kRed).size(), 1u);
}

TEST(TimeChart, ClearCoversALittleBeyondTheChart) {
    TracingCanvas c;
    clearTimeChart(c);
    ASSERT_EQ(c.count(CanvasCall::Box), 1);
    EXPECT_EQ(c.calls[0].colour, kWhite);
    EXPECT_EQ(c.calls[0].x2, 10530);
    EXPECT_EQ(c.calls[0].y2, 4330);
}

// The time chart recorded: every segment drawn stands, in its pen, between two neighbouring
// points of a polyline, and the list holds no point more than those segments need.
TEST(TimeChart, RecordedEverySegmentIsKeptInAPolylineOfItsPen) {
    const auto st = run(200);
    TracingCanvas surface;
    RecordingCanvas canvas(surface, chartExtent(Chart::Zeit));
    drawTimeHistory(*st, canvas);
    const auto& items = canvas.displayList().items();
    const std::vector<CanvasCall> lines = surface.lines();
    std::size_t points = 0;
    for (const auto& item : items)
        points += item.points.size();
    EXPECT_EQ(points, lines.size() + items.size());
    EXPECT_LT(items.size(), lines.size() / 4);  // the curves are joined
    for (const CanvasCall& c : lines) {
        const ChartPen pen{c.colour, std::max(c.width, 1), c.style};
        const bool found = std::any_of(items.begin(), items.end(), [&](const auto& item) {
            if (item.pen != pen) return false;
            for (std::size_t i = 0; i + 1 < item.points.size(); ++i)
                if (item.points[i] == ChartPoint{c.x1, c.y1} &&
                    item.points[i + 1] == ChartPoint{c.x2, c.y2})
                    return true;
            return false;
        });
        EXPECT_TRUE(found) << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2;
    }
}

}  // namespace
}  // namespace tesmo
