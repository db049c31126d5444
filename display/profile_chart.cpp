// Profile chart: water load across the half thickness, surface at the left (x = 0), mid-plane at
// the right (x = 10500); the initial water load at the top, dry at the bottom.
#include "display/profile_chart.h"

#include <algorithm>
#include <cmath>

#include "model/physical_constants.h"
#include "model/shrinkage.h"

namespace tesmo {

namespace {

constexpr double kBreite = chartExtent(Chart::Ausgabe).width;
constexpr double kHoehe = chartExtent(Chart::Ausgabe).height;
constexpr double kMarkenLaenge = 150.0;  // length of a shrinkage mark on either edge
constexpr double kFern = 1.0e6;          // lines are cut to this box before going to float

// Int() of a mark count. A plate cannot shrink by 100 % or more, so there are never more than
// 100 marks; this also keeps an absurd shrinkage input from looping for ever.
int markenZahl(double v) {
    const double k = std::floor(v);
    if (!(k > 0.0)) return 0;  // also NaN
    return k > 100.0 ? 100 : static_cast<int>(k);
}

// One shrinkage mark: the water load at which the plate has shrunk by sTick (linear fraction),
// as a short blue line on the left and on the right edge at the current line width.
void schwindMarke(RunState& st, ChartCanvas& canvas, double sTick) {
    st.sTick = sTick;
    st.XTick = kDichteWasser * psiAusS(st, st.sTick) / rhosAusS(st, st.sTick);
    const double y = yAusX(st, st.XTick);
    chartLine(canvas, 0.0, y, kMarkenLaenge, y, kBlue);
    chartLine(canvas, kBreite - kMarkenLaenge, y, kBreite, y, kBlue);
}

bool endlich(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

double yAusX(const RunState& st, double X) {
    return kHoehe - kHoehe * (X / st.XAnf);
}

bool chartLine(ChartCanvas& canvas, double x1, double y1, double x2, double y2, Rgb colour) {
    if (!endlich(x1, y1, x2, y2)) return false;
    // Cut the segment to the box along its own direction (Cohen-Sutherland): an end outside is
    // moved onto the edge it crosses, so the part inside keeps its slope. The edge coordinate
    // is set exactly; the other one follows from the fraction of the way to that edge, which
    // lies in [0, 1] and cannot overflow.
    enum : unsigned { kLinks = 1, kRechts = 2, kOben = 4, kUnten = 8 };
    const auto lage = [](double x, double y) {
        return (x < -kFern ? kLinks : 0u) | (x > kFern ? kRechts : 0u) | (y < -kFern ? kOben : 0u) |
               (y > kFern ? kUnten : 0u);
    };
    unsigned a = lage(x1, y1);
    unsigned b = lage(x2, y2);
    for (int runde = 0; (a | b) != 0; ++runde) {
        if ((a & b) != 0 || runde == 8) return false;  // wholly beyond one edge
        const bool erstes = a != 0;
        const unsigned aussen = erstes ? a : b;
        double& x = erstes ? x1 : x2;
        double& y = erstes ? y1 : y2;
        const double ox = erstes ? x2 : x1;
        const double oy = erstes ? y2 : y1;
        if (aussen & (kOben | kUnten)) {
            const double kante = (aussen & kOben) ? -kFern : kFern;
            x = ox + (x - ox) * ((kante - oy) / (y - oy));
            y = kante;
        } else {
            const double kante = (aussen & kLinks) ? -kFern : kFern;
            y = oy + (y - oy) * ((kante - ox) / (x - ox));
            x = kante;
        }
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        (erstes ? a : b) = lage(x, y);
    }
    canvas.line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                static_cast<float>(y2), colour);
    return true;
}

void drawProfileAxes(RunState& st, ChartCanvas& canvas) {
    // Whole percents, two pixels wide, then the line across at the shrinkage-end water load.
    canvas.setLineWidth(2);
    const int ganze = markenZahl(st.linTrSchwind + 0.001);
    for (int k = 1; k <= ganze; ++k)
        schwindMarke(st, canvas, k / 100.0);
    const double yEnde = yAusX(st, st.XSchwEnde);
    chartLine(canvas, 0.0, yEnde, kBreite, yEnde, kBlue);

    // Half percents, one pixel wide.
    canvas.setLineWidth(1);
    const int halbe = markenZahl(st.linTrSchwind + 0.499);
    for (int k = 1; k <= halbe; ++k)
        schwindMarke(st, canvas, (k - 0.5) / 100.0);
    canvas.refresh();
}

void drawProfileCurve(const RunState& st, ChartCanvas& canvas, bool firstPeriod) {
    // Nodes 0..nOrt+1; the last segment runs to the mirror node beyond the right edge.
    const int n = std::clamp(knoten(st), 0, kMaxNodes);
    const auto& X = st.XKnoten;
    // The first-period curve whose surface value has turned negative marks the end of that
    // period: red and thick.
    const bool ende1 = firstPeriod && st.Zustand1 == st.Beendet;
    const Rgb farbe = ende1 ? kRed : kBlack;
    for (int i = 0; i <= n; ++i) {
        if (ende1) canvas.setLineWidth(3);
        chartLine(canvas, i * st.KurvenDx, yAusX(st, X[i]), (i + 1) * st.KurvenDx,
                  yAusX(st, X[i + 1]), farbe);
    }
    if (firstPeriod) {
        canvas.setLineWidth(1);
        canvas.refresh();
    }
}

void clearProfileChartAtStart(ChartCanvas& canvas) {
    canvas.fillBox(0.0f, 0.0f, 10500.0f, 5000.0f, kWhite);
}

void clearProfileChartAll(ChartCanvas& canvas) {
    canvas.fillBox(0.0f, 0.0f, 10530.0f, 6030.0f, kWhite);
}

}  // namespace tesmo
