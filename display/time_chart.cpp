// Time-history chart: every quantity of the run over the whole drying time, as the plate saw it
// on its way through the counter-current dryer. One shared time axis (x 0..10500); every curve
// is scaled on its own to the full height (y 0 at the top, 4300 at the bottom). Curves join
// every tenth history record; marker lines sit at their times over the total drying time.
#include "display/time_chart.h"

#include <algorithm>
#include <cmath>

#include "display/profile_chart.h"

namespace tesmo {

namespace {

constexpr double kBreite = chartExtent(Chart::Zeit).width;
constexpr double kHoehe = chartExtent(Chart::Zeit).height;

constexpr Rgb kBandWasser{235, 235, 230};
constexpr Rgb kBandSchwind{225, 225, 255};
constexpr Rgb kSpiegelGelb{240, 240, 0};
constexpr Rgb kOberflTemp{200, 170, 0};
constexpr Rgb kKernTemp{255, 0, 245};
constexpr Rgb kRateGruen{0, 255, 0};

// The scales of the chart, taken from the run state once. Every scale is computed in double
// precision; where a scale has no range (a run of length 0, no positive rate, no temperature
// rise) it is given a defined fallback instead of dividing by zero.
class Skalen {
  public:
    explicit Skalen(const RunState& st)
        : st_(st), tempSpanne_(st.thetaLuftMom - st.thetaKG0), schwind_(st.linTrSchwind > 0.001) {}

    // Time axis: record index over n for curves, time over Laufzeit for marker lines. A run
    // without length puts everything at the left edge.
    static double xZeit(double v, double vmax) { return vmax == 0.0 ? 0.0 : kBreite * (v / vmax); }
    // XAnf at the top, dry at the bottom.
    double yFeuchte(double X) const { return kHoehe - kHoehe * (X / st_.XAnf); }
    // Wet-bulb temperature of the exhaust air at the bottom, final air temperature at the top.
    // Without a temperature rise the temperature curves lie flat on the bottom edge.
    double yTemp(double theta) const {
        if (tempSpanne_ == 0.0 || !std::isfinite(tempSpanne_)) return kHoehe;
        return kHoehe - kHoehe * ((theta - st_.thetaKG0) / tempSpanne_);
    }
    // 0 at the bottom, RateMax at y = 660. Only used when hatRate() holds.
    double yRate(double r) const { return kHoehe - 3640.0 * (r / st_.RateMax); }
    bool hatRate() const { return st_.RateMax > 0.0 && std::isfinite(st_.RateMax); }
    // Depth of the drying front, growing downwards; the mid-plane lies 4300*Ortsschritt/Dicke
    // above the bottom edge, depth 0 just above the top edge.
    double ySpiegel(double tiefe) const {
        return 8600.0 * (tiefe - st_.Ortsschritt / 2.0) / st_.Dicke;
    }
    // No shrinkage at the bottom, full shrinkage at the top; a plate that does not shrink keeps
    // everything on the bottom edge.
    double ySchwind(double S) const {
        return schwind_ ? kHoehe - kHoehe * (S / st_.linTrSchwind) : kHoehe;
    }

  private:
    const RunState& st_;
    double tempSpanne_;
    bool schwind_;
};

using Verlauf = HistoryArray;
using YSkala = double (Skalen::*)(double) const;

// A curve through every tenth record: form A starts at record 1, form B at record 0; a segment
// runs from record i to record i + 10 while i <= n - 10.
void kurve(ChartCanvas& canvas, const Skalen& sk, int erster, int n, const Verlauf& h, YSkala y,
           Rgb farbe) {
    for (int i = erster; i <= n - 10; i += 10) {
        chartLine(canvas, Skalen::xZeit(i, n), (sk.*y)(h[i]), Skalen::xZeit(i + 10, n),
                  (sk.*y)(h[i + 10]), farbe);
    }
}

// A shrinkage curve up to its end time tEnde, shifted one record against the other curves
// (records i - 1 to i + 9), then the closing segment from where it stopped up to full shrinkage
// at tEnde.
void schwindKurve(ChartCanvas& canvas, const Skalen& sk, const RunState& st, int n,
                  const Verlauf& h, double tEnde) {
    const double xEnde = Skalen::xZeit(tEnde, st.Laufzeit);
    int i = 1;
    for (; i <= n - 10; i += 10) {
        if (Skalen::xZeit(i, n) > xEnde) break;
        chartLine(canvas, Skalen::xZeit(i - 1, n), sk.ySchwind(h[i - 1]), Skalen::xZeit(i + 9, n),
                  sk.ySchwind(h[i + 9]), kBlue);
    }
    chartLine(canvas, Skalen::xZeit(i - 1, n), sk.ySchwind(h[i - 1]), xEnde,
              sk.ySchwind(st.linTrSchwind), kBlue);
}

void markierung(ChartCanvas& canvas, double x, Rgb farbe) {
    chartLine(canvas, x, 0.0, x, kHoehe, farbe);
}

}  // namespace

void drawTimeHistory(const RunState& st, ChartCanvas& canvas) {
    const Skalen sk(st);
    // Records 0..HistIndex; the bound only guards the arrays against a state no run leaves.
    const int n = std::clamp(st.HistIndex, 0, kMaxHistoryIndex);
    const auto x = [n](int i) { return Skalen::xZeit(i, n); };

    // Band between surface and core water load.
    canvas.setLineWidth(3);
    for (int i = 1; i <= n - 10; i += 10) {
        chartLine(canvas, x(i), sk.yFeuchte(st.VerlaufXOb[i]), x(i), sk.yFeuchte(st.VerlaufXK[i]),
                  kBandWasser);
    }
    canvas.refresh();

    // Band between surface and core shrinkage, up to the end of core shrinkage.
    const double xKernEnde = Skalen::xZeit(st.t2xse, st.Laufzeit);
    for (int i = 1; i <= n - 10; i += 10) {
        if (x(i) > xKernEnde) break;
        chartLine(canvas, x(i), sk.ySchwind(st.VerlaufSchwindOb[i]), x(i),
                  sk.ySchwind(st.VerlaufSchwindK[i]), kBandSchwind);
    }

    // Marker lines over the full height: ends of surface and core shrinkage, end of the first
    // drying period.
    canvas.setLineWidth(1);
    canvas.setLineStyle(LineStyle::DashDotDot);
    if (st.linTrSchwind > 0.001) {
        markierung(canvas, Skalen::xZeit(st.t1xse, st.Laufzeit), kBlue);
        markierung(canvas, xKernEnde, kBlue);
    }
    markierung(canvas, Skalen::xZeit(st.t1TA, st.Laufzeit), kRed);
    canvas.setLineStyle(LineStyle::Solid);
    canvas.refresh();

    // Mean water load, then surface and core water load.
    canvas.setLineWidth(2);
    kurve(canvas, sk, 1, n, st.VerlaufXmom, &Skalen::yFeuchte, kBlack);
    canvas.refresh();
    canvas.setLineWidth(1);
    for (int i = 1; i <= n - 10; i += 10) {
        chartLine(canvas, x(i), sk.yFeuchte(st.VerlaufXOb[i]), x(i + 10),
                  sk.yFeuchte(st.VerlaufXOb[i + 10]), kBlack);
        chartLine(canvas, x(i), sk.yFeuchte(st.VerlaufXK[i]), x(i + 10),
                  sk.yFeuchte(st.VerlaufXK[i + 10]), kBlack);
    }
    canvas.refresh();

    // Drying front: a black line on a yellow band.
    canvas.setLineWidth(4);
    kurve(canvas, sk, 1, n, st.VerlaufSpiegel, &Skalen::ySpiegel, kSpiegelGelb);
    canvas.setLineWidth(1);
    kurve(canvas, sk, 1, n, st.VerlaufSpiegel, &Skalen::ySpiegel, kBlack);
    canvas.refresh();

    // Surface temperature, then core temperature together with the evaporation rate. Without a
    // positive rate there is no rate scale, and the rate curve is left out.
    canvas.setLineWidth(2);
    kurve(canvas, sk, 0, n, st.VerlaufThetaOb, &Skalen::yTemp, kOberflTemp);
    canvas.refresh();
    const bool rate = sk.hatRate();
    for (int i = 0; i <= n - 10; i += 10) {
        chartLine(canvas, x(i), sk.yTemp(st.VerlaufThetaK[i]), x(i + 10),
                  sk.yTemp(st.VerlaufThetaK[i + 10]), kKernTemp);
        if (rate) {
            chartLine(canvas, x(i), sk.yRate(st.VerlaufRate[i]), x(i + 10),
                      sk.yRate(st.VerlaufRate[i + 10]), kRateGruen);
        }
    }
    canvas.refresh();

    // Surface and core shrinkage up to their end times; the surface stays at full shrinkage to
    // the end of the run.
    if (!(st.linTrSchwind < 0.001)) {
        schwindKurve(canvas, sk, st, n, st.VerlaufSchwindOb, st.t1xse);
        const double yVoll = sk.ySchwind(st.linTrSchwind);
        chartLine(canvas, Skalen::xZeit(st.t1xse, st.Laufzeit), yVoll, kBreite, yVoll, kBlue);
        schwindKurve(canvas, sk, st, n, st.VerlaufSchwindK, st.t2xse);
    }

    // Air temperature, over everything else.
    kurve(canvas, sk, 0, n, st.VerlaufThetaLuft, &Skalen::yTemp, kRed);
    canvas.refresh();
    canvas.setLineWidth(1);
    canvas.refresh();
}

void clearTimeChart(ChartCanvas& canvas) {
    canvas.fillBox(0.0f, 0.0f, 10530.0f, 4330.0f, kWhite);
}

}  // namespace tesmo
