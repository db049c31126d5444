#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "display/profile_chart.h"
#include "tests/display/tracing_canvas.h"

namespace tesmo {
namespace {

using test::CanvasCall;
using test::TracingCanvas;

// The shrinkage geometry of a set-up with the given plate: green plate saturated, ideal
// shrinkage down to the dried plate.
std::unique_ptr<RunState> plate(double linTrSchwind, double XAnf = 0.25, double rhos = 1850) {
    auto st = std::make_unique<RunState>();
    st->XAnf = XAnf;
    st->rhos = rhos;
    st->linTrSchwind = linTrSchwind;
    st->s = linTrSchwind / 100;
    const double v = std::pow(1 - st->s, 3);
    st->rhosRoh = rhos * v;
    st->psiRoh = XAnf * rhos / 1000 * v;
    st->offPoren = (st->psiRoh - (1 - v)) * rhos / st->rhosRoh;
    st->XSchwEnde = st->offPoren * 1000 / rhos;
    return st;
}

// Water load at linear shrinkage sigma, from the volume balance of the saturated green plate:
// (1 - sigma)^3 = 1 - psiRoh + rhosRoh * X / 1000.
double waterLoadAtShrinkage(const RunState& st, double sigma) {
    return 1000 * (std::pow(1 - sigma, 3) - 1 + st.psiRoh) / st.rhosRoh;
}

float yOf(const RunState& st, double X) {
    return float(6000 - 6000 * X / st.XAnf);
}

void expectMark(const CanvasCall& left, const CanvasCall& right, float y) {
    EXPECT_EQ(left.colour, kBlue);
    EXPECT_FLOAT_EQ(left.x1, 0);
    EXPECT_FLOAT_EQ(left.x2, 150);
    EXPECT_NEAR(left.y1, y, 0.01);
    EXPECT_EQ(left.y1, left.y2);
    EXPECT_EQ(right.colour, kBlue);
    EXPECT_FLOAT_EQ(right.x1, 10350);
    EXPECT_FLOAT_EQ(right.x2, 10500);
    EXPECT_EQ(right.y1, left.y1);
    EXPECT_EQ(right.y2, left.y1);
}

TEST(ProfileAxes, WholeAndHalfPercentMarksAndShrinkageEndLine) {
    auto st = plate(6.5);
    TracingCanvas c;
    drawProfileAxes(*st, c);
    EXPECT_EQ(c.trace(), "w2 blue*13 w1 blue*12 R");
    const auto l = c.lines();
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        expectMark(l[2 * (k - 1)], l[2 * (k - 1) + 1],
                   yOf(*st, waterLoadAtShrinkage(*st, k / 100.0)));
        EXPECT_EQ(l[2 * (k - 1)].width, 2);
    }
    // The shrinkage-end line across the chart sits where 6.5 % shrinkage is reached.
    const auto& end = l[12];
    EXPECT_FLOAT_EQ(end.x1, 0);
    EXPECT_FLOAT_EQ(end.x2, 10500);
    EXPECT_EQ(end.y1, end.y2);
    EXPECT_NEAR(end.y1, yOf(*st, waterLoadAtShrinkage(*st, 0.065)), 0.01);
    EXPECT_EQ(end.width, 2);
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        expectMark(l[13 + 2 * (k - 1)], l[14 + 2 * (k - 1)],
                   yOf(*st, waterLoadAtShrinkage(*st, (k - 0.5) / 100)));
        EXPECT_EQ(l[13 + 2 * (k - 1)].width, 1);
    }
    // The scale quantities are left at the last half-percent mark.
    EXPECT_DOUBLE_EQ(st->sTick, 0.055);
    EXPECT_NEAR(st->XTick, waterLoadAtShrinkage(*st, 0.055), 1e-12);
}

TEST(ProfileAxes, SmallShrinkageDrawsFewerMarksButAlwaysTheEndLine) {
    struct Case {
        double linTrSchwind;
        const char* trace;
    };
    for (const Case& k : {Case{0.9, "w2 blue w1 blue*2 R"}, Case{0.998, "w2 blue w1 blue*2 R"},
                          Case{0.5, "w2 blue w1 R"}, Case{0.502, "w2 blue w1 blue*2 R"},
                          Case{0.0, "w2 blue w1 R"}, Case{1.0, "w2 blue*3 w1 blue*2 R"}}) {
        SCOPED_TRACE(k.linTrSchwind);
        auto st = plate(k.linTrSchwind);
        TracingCanvas c;
        drawProfileAxes(*st, c);
        EXPECT_EQ(c.trace(), k.trace);
    }
    // Without shrinkage the end line lies on the initial water load, at the top edge.
    auto st = plate(0.0);
    TracingCanvas c;
    drawProfileAxes(*st, c);
    EXPECT_FLOAT_EQ(c.lines()[0].y1, 0);
}

TEST(ProfileAxes, AbsurdShrinkageStaysBoundedAndFinite) {
    auto st = plate(6.5);
    st->linTrSchwind = 1e12;  // would loop for ever and divide by a zero volume
    TracingCanvas c;
    drawProfileAxes(*st, c);
    EXPECT_LE(c.count(CanvasCall::Line), 401);
    EXPECT_TRUE(c.allFinite());
}

std::unique_ptr<RunState> profile(int nOrt, double XAnf) {
    auto st = std::make_unique<RunState>();
    st->XAnf = XAnf;
    st->nOrt = nOrt;
    st->KurvenDx = 10500.0 / nOrt;
    for (int i = 0; i <= nOrt + 1; ++i)
        st->XKnoten[i] = XAnf;
    return st;
}

TEST(ProfileCurve, FlatProfileAtInitialLoadIsTheTopEdgeWithNodesEvery1050) {
    for (double XAnf : {0.25, 0.1234567, 0.3}) {
        SCOPED_TRACE(XAnf);
        auto st = profile(10, XAnf);
        TracingCanvas c;
        drawProfileCurve(*st, c, true);
        EXPECT_EQ(c.trace(), "black*11 w1 R");
        const auto l = c.lines();
        for (int i = 0; i <= 10; ++i) {
            EXPECT_FLOAT_EQ(l[i].x1, 1050.0f * i);
            EXPECT_FLOAT_EQ(l[i].x2, 1050.0f * (i + 1));
            EXPECT_EQ(l[i].y1, 0.0f);
            EXPECT_EQ(l[i].y2, 0.0f);
        }
    }
}

TEST(ProfileCurve, SegmentsJoinNeighbouringNodesUpToTheMirrorNode) {
    auto st = profile(4, 0.2);
    const double X[] = {-0.01, 0.05, 0.1, 0.15, 0.18, 0.18};
    for (int i = 0; i < 6; ++i)
        st->XKnoten[i] = X[i];
    TracingCanvas c;
    drawProfileCurve(*st, c, false);
    const auto l = c.lines();
    ASSERT_EQ(l.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(l[i].y1, float(6000 - 6000 * X[i] / 0.2));
        EXPECT_FLOAT_EQ(l[i].y2, float(6000 - 6000 * X[i + 1] / 0.2));
    }
    EXPECT_GT(l[0].y1, 6000);  // a negative surface value lies below the chart
    EXPECT_FLOAT_EQ(l[4].x2, 13125);
}

TEST(ProfileCurve, EndOfFirstPeriodIsRedAndThickWithTheWidthSetBeforeEachSegment) {
    auto st = profile(3, 0.25);
    st->Zustand1 = st->Beendet;
    TracingCanvas c;
    drawProfileCurve(*st, c, true);
    EXPECT_EQ(c.trace(), "w3 red w3 red w3 red w3 red w1 R");
    for (const auto& l : c.lines())
        EXPECT_EQ(l.width, 3);
}

TEST(ProfileCurve, SecondPeriodDrawsBlackSegmentsOnly) {
    auto st = profile(3, 0.25);
    st->Zustand1 = st->Beendet;  // as the first period leaves it
    TracingCanvas c;
    c.width = 7;  // whatever width is in force stays in force
    drawProfileCurve(*st, c, false);
    EXPECT_EQ(c.trace(), "black*4");
    for (const auto& l : c.lines())
        EXPECT_EQ(l.width, 7);
}

TEST(ProfileChart, ClearsCoverTopAtStartAndEverythingOnRestart) {
    TracingCanvas c;
    clearProfileChartAtStart(c);
    clearProfileChartAll(c);
    ASSERT_EQ(c.trace(), "box box");
    EXPECT_EQ(c.calls[0].colour, kWhite);
    EXPECT_EQ(c.calls[0].x2, 10500);
    EXPECT_EQ(c.calls[0].y2, 5000);
    EXPECT_EQ(c.calls[1].x1, 0);
    EXPECT_EQ(c.calls[1].y1, 0);
    EXPECT_EQ(c.calls[1].x2, 10530);
    EXPECT_EQ(c.calls[1].y2, 6030);
}

TEST(ChartLine, FarEndsAreCutAlongTheLineAndNonNumbersDropped) {
    TracingCanvas c;
    // Far beyond the box: cut where it leaves +-1e6, the direction kept.
    EXPECT_TRUE(chartLine(c, 0, 0, 1e30, 2e30, kBlack));
    const auto l = c.lines().back();
    EXPECT_EQ(l.x1, 0);
    EXPECT_EQ(l.y1, 0);
    EXPECT_FLOAT_EQ(l.x2, 5e5);
    EXPECT_FLOAT_EQ(l.y2, 1e6);
    // Both ends far out on opposite sides: the middle survives.
    EXPECT_TRUE(chartLine(c, 100, -1e300, 100, 1e300, kBlack));
    EXPECT_FLOAT_EQ(c.lines().back().y1, -1e6);
    EXPECT_FLOAT_EQ(c.lines().back().y2, 1e6);
    // Wholly outside, or not a number: nothing.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(chartLine(c, 2e6, 0, 3e6, 10, kBlack));
    EXPECT_FALSE(chartLine(c, 0, 0, 10, inf, kBlack));
    EXPECT_FALSE(chartLine(c, nan, 0, 10, 10, kBlack));
    EXPECT_EQ(c.count(CanvasCall::Line), 2);
    EXPECT_TRUE(c.allFinite());
    // Ordinary lines pass unchanged.
    EXPECT_TRUE(chartLine(c, 10500, 13125.5, -3, 0.25, kRed));
    EXPECT_EQ(c.lines().back().x1, 10500.0f);
    EXPECT_EQ(c.lines().back().y1, 13125.5f);
    EXPECT_EQ(c.lines().back().x2, -3.0f);
    EXPECT_EQ(c.lines().back().y2, 0.25f);
}

}  // namespace
}  // namespace tesmo
