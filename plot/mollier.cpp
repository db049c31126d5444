#include "plot/mollier.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/moist_air.h"
#include "plot/number_text.h"

namespace tesmo {

namespace {

constexpr double kCpAir = 1.005;    // kJ/(kg K), dry air
constexpr double kCpVapour = 1.86;  // kJ/(kg K), water vapour
constexpr double kR0 = 2500;        // kJ/kg, evaporation enthalpy at 0 °C
constexpr double kMolarRatio = 0.622;
constexpr double kGramPerKg = 1000;
constexpr double kLineStep = 0.5;    // K between the computed points of a curved line
constexpr double kHottestLine = 99;  // °C: near 99.6 °C the saturation pressure reaches 1 bar
constexpr Rgb kGridLine{150, 150, 150};
constexpr Rgb kSaturation{60, 60, 60};
constexpr Rgb kIsotherm{190, 190, 190};

// The water load of air at theta with relative humidity phi (fraction).
double loadAt(double theta, double phi) {
    const double p = phi * Saettigungsdruck(theta);
    return p < 1 ? kMolarRatio * p / (1 - p) : std::numeric_limits<double>::infinity();
}

// The states of the diagram's runs, to choose its ranges.
struct Extent {
    double xMax = 0;  // g/kg
    double yMin = std::numeric_limits<double>::infinity();
    double yMax = -std::numeric_limits<double>::infinity();
    void include(double theta, double x) {
        if (!std::isfinite(theta) || !std::isfinite(x)) return;
        xMax = std::max(xMax, x * kGramPerKg);
        yMin = std::min(yMin, mollierY(theta, x));
        yMax = std::max(yMax, mollierY(theta, x));
    }
};

PlotSeries gridLine(Rgb colour, double width) {
    PlotSeries s;
    s.colour = colour;
    s.width = width;
    return s;
}

// The temperature at which air of relative humidity phi has the enthalpy h.
double thetaAtEnthalpy(double h, double phi) {
    double lo = -50, hi = kHottestLine;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (enthalpy(mid, loadAt(mid, phi)) < h ? lo : hi) = mid;
    }
    return lo;
}

// A line of constant relative humidity from tLow up to where it leaves the diagram. Its label
// stands where it crosses the line of constant enthalpy `labelH`: along it the labels of 10 %,
// 20 %, … step down and to the right, apart from each other.
void humidityLine(PlotSpec& spec, double phi, double tLow, double labelH, const AxisLimits& xs,
                  const AxisLimits& ys) {
    const bool saturation = phi >= 1;
    PlotSeries s = gridLine(saturation ? kSaturation : kGridLine, saturation ? 1.2 : 0.5);
    if (saturation) s.label = "Sättigungslinie (φ = 100 %)";
    for (double t = tLow; t <= kHottestLine; t += kLineStep) {
        const double x = loadAt(t, phi);
        if (!std::isfinite(x)) break;
        s.x.push_back(x * kGramPerKg);
        s.y.push_back(mollierY(t, x));
        if (s.x.back() > xs.max || s.y.back() > ys.max) break;
    }
    spec.series.push_back(std::move(s));
    const double theta = thetaAtEnthalpy(labelH, phi);
    const double x = loadAt(theta, phi);
    // Towards saturation the lines close up: of 50 % to 90 % only 60 % and 80 % are labelled.
    const int percent = static_cast<int>(std::lround(phi * 100));
    const bool labelled = percent <= 40 || percent == 60 || percent == 80;
    if (labelled && std::isfinite(x))
        spec.texts.push_back({x * kGramPerKg, mollierY(theta, x), decimalText(phi * 100, 0) + " %",
                              kGridLine, PlotText::Side::Right});
}

// The enthalpy of saturated air whose water load lies at `share` of the x range.
double labelEnthalpy(const AxisLimits& xs, double share) {
    double lo = -50, hi = kHottestLine;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (loadAt(mid, 1) * kGramPerKg < share * xs.max ? lo : hi) = mid;
    }
    return enthalpy(lo, loadAt(lo, 1));
}

// An isotherm from x = 0 to saturation (or the edge), labelled at its right end: inside the
// frame above its end where it reaches the edge, beyond the saturation line where it ends
// there.
void isotherm(PlotSpec& spec, double theta, const AxisLimits& xs, const AxisLimits& ys) {
    const double xSat = loadAt(theta, 1);
    const double xEnd = std::min(xSat, xs.max / kGramPerKg);
    if (!(xEnd > 0)) return;
    PlotSeries s = gridLine(kIsotherm, 0.6);
    s.x = {0, xEnd * kGramPerKg};
    s.y = {mollierY(theta, 0), mollierY(theta, xEnd)};
    spec.series.push_back(std::move(s));
    const double yEnd = mollierY(theta, xEnd);
    // No label beyond the top, nor on the bottom edge where the x labels stand.
    if (yEnd > ys.max || yEnd < ys.min + 0.03 * (ys.max - ys.min)) return;
    spec.texts.push_back(
        {xEnd * kGramPerKg, yEnd, decimalText(theta, 0) + " °C", kGridLine,
         xSat < xEnd * 1.0001 ? PlotText::Side::Right : PlotText::Side::AboveLeft});
}

// One run's air: the path along the plate, the three states and the heater between outside
// and supply air.
void airOfRun(PlotSpec& spec, const ChartRun& run, bool alone) {
    const RunRecord& r = *run.record;
    const Rgb colour = alone ? seriesColour(0) : seriesColour(run.colour);
    std::vector<double> x(r.airX.size()), y(r.airX.size());
    for (std::size_t j = 0; j < r.airX.size(); ++j) {
        x[j] = r.airX[j] * kGramPerKg;
        y[j] = mollierY(r.histories[kThetaLuft][j], r.airX[j]);
    }
    PlotSeries path;
    path.label = alone ? "Luft längs der Platte" : run.label;
    path.colour = colour;
    path.width = 1.4;
    for (std::size_t i : thinnedIndices(y, kCurveBuckets)) {
        path.x.push_back(x[i]);
        path.y.push_back(y[i]);
    }
    spec.series.push_back(std::move(path));

    if (std::isfinite(r.thetaZuluft)) {
        PlotSeries heater;
        heater.label = alone ? "Lufterhitzer" : "";
        heater.x = {r.XAussen * kGramPerKg, r.XZuluft * kGramPerKg};
        heater.y = {mollierY(r.thetaAussen, r.XAussen), mollierY(r.thetaZuluft, r.XZuluft)};
        heater.colour = colour;
        heater.dash = Dash::Dashed;
        spec.series.push_back(std::move(heater));
    }
    struct State {
        const char* name;
        double theta, x;
        Marker marker;
    };
    const State states[] = {{"Abluft", r.thetaAbluft, r.XAbluft, Marker::Circle},
                            {"Außenluft", r.thetaAussen, r.XAussen, Marker::Square},
                            {"Zuluft", r.thetaZuluft, r.XZuluft, Marker::Triangle}};
    for (const State& s : states) {
        if (!std::isfinite(s.theta) || !std::isfinite(s.x)) continue;
        spec.series.push_back(pointSeries(alone ? s.name : "", {s.x * kGramPerKg},
                                          {mollierY(s.theta, s.x)}, colour, s.marker));
    }
}

}  // namespace

double mollierY(double theta, double x) {
    return (enthalpy(theta, x) - kR0 * x) / kCpAir;
}

double mollierTheta(double y, double x) {
    return y * kCpAir / (kCpAir + kCpVapour * x);
}

double saturationX(double theta) {
    return loadAt(theta, 1);
}

double enthalpy(double theta, double x) {
    return kCpAir * theta + x * (kR0 + kCpVapour * theta);
}

PlotSpec mollierChart(const std::vector<ChartRun>& runs) {
    PlotSpec spec;
    spec.title = "h,x-Diagramm: Weg der Luft durch den Trockner";
    spec.xTitle = "Wasserbeladung der Luft in g/kg";
    spec.yTitle = "Temperatur in °C";

    Extent extent;
    std::vector<const ChartRun*> withAir;
    std::string without;
    for (const ChartRun& run : runs) {
        const RunRecord& r = *run.record;
        if (r.airX.empty()) {
            without += (without.empty() ? "" : ", ") + run.label;
            continue;
        }
        withAir.push_back(&run);
        for (std::size_t j = 0; j < r.airX.size(); ++j)
            extent.include(r.histories[kThetaLuft][j], r.airX[j]);
        extent.include(r.thetaAussen, r.XAussen);
        extent.include(r.thetaAbluft, r.XAbluft);
        extent.include(r.thetaZuluft, r.XZuluft);
    }
    if (withAir.empty()) {
        extent.include(0, 0);
        extent.include(60, 0.03);
    }
    // Round ranges with room around the states: x from 0, temperatures in whole 10 K.
    spec.xLimits = {0, std::max(10.0, std::ceil(extent.xMax * 1.15 / 5) * 5)};
    spec.yLimits = {std::floor(std::min(extent.yMin, 0.0) / 10) * 10,
                    std::ceil((extent.yMax + 5) / 10) * 10};
    // The oblique temperature axis has its own lines: no level grid lines.
    spec.yGrid = false;

    const double tLow = spec.yLimits.min;
    for (double theta = spec.yLimits.min; theta <= spec.yLimits.max; theta += 10)
        isotherm(spec, theta, spec.xLimits, spec.yLimits);
    const double labelH = labelEnthalpy(spec.xLimits, 0.7);
    for (int percent = 10; percent < 100; percent += 10)
        humidityLine(spec, percent / 100.0, tLow, labelH, spec.xLimits, spec.yLimits);
    humidityLine(spec, 1, tLow, labelH, spec.xLimits, spec.yLimits);

    for (const ChartRun* run : withAir)
        airOfRun(spec, *run, runs.size() == 1);
    spec.note =
        "Isothermen steigen mit der Beladung an (Temperaturachse bei x = 0); die Luft "
        "strömt von der Zuluft zur Abluft, der Platte entgegen.";
    if (runs.size() > 1) spec.note += " ● Abluft, ■ Außenluft, ▲ Zuluft.";
    if (!without.empty()) spec.note += " " + without + " ohne Luftweg (Datei).";
    return spec;
}

std::string mollierPositionText(double xGramPerKg, double y) {
    const double x = xGramPerKg / kGramPerKg;
    const double theta = mollierTheta(y, x);
    const double phi = relFeuchte(x, theta) * 100;
    return "x " + significantText(xGramPerKg, 3) + " g/kg, θ " + decimalText(theta, 1) + " °C, φ " +
           (std::isfinite(phi) && phi <= 100 ? decimalText(phi, 0) + " %" : "über 100 %") + ", h " +
           decimalText(enthalpy(theta, x), 1) + " kJ/kg";
}

}  // namespace tesmo
