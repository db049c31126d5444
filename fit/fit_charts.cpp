#include "fit/fit_charts.h"

#include <cmath>

#include "files/fit_series.h"
#include "plot/plot_data.h"
#include "plot/run_charts.h"

namespace tesmo {

namespace {

constexpr double kSecondsPerHour = 3600;
constexpr const char* kTimeTitle = "Zeit in h";
constexpr Rgb kZeroGrey{110, 110, 110};

struct QuantityChart {
    Messgroesse groesse;
    const char* name;  // the chart's name in lists and titles
    const char* stem;  // its files
    const char* yTitle;
    const char* symbol;  // the residual axis: the difference of this, in `unit`
    const char* unit;
};

// clang-format off
constexpr QuantityChart kQuantityCharts[] = {
    {Messgroesse::X, "Wasserbeladung", "wasserbeladung", "Wasserbeladung in kg/kg atro", "ΔX",
     "kg/kg atro"},
    {Messgroesse::Masse, "Probenmasse", "probenmasse", "Probenmasse in g", "Δm", "g"},
    {Messgroesse::thetaOb, "Oberflächentemperatur", "oberflaechentemperatur",
     "Oberflächentemperatur in °C", "Δθ", "K"},
    {Messgroesse::schwind, "Schwindung", "schwindung", "lineare Schwindung in %", "Δs", "%"},
};
// clang-format on

const QuantityChart& chartOf(Messgroesse g) {
    return kQuantityCharts[slot(g)];
}

// The series shows its water load through its masses: it measures masses, has a dry mass and
// no water load of its own.
bool waterLoadFromMass(const MeasuredSeries& s) {
    return !s.measurement.misst(Messgroesse::X) && s.measurement.misst(Messgroesse::Masse) &&
           s.trockenmasse_g > 0;
}

bool shows(const MeasuredSeries& s, Messgroesse g) {
    return s.measurement.misst(g) || (g == Messgroesse::X && waterLoadFromMass(s));
}

Marker markerOf(std::size_t series) {
    return static_cast<Marker>(series % 5);
}

double hours(double seconds) {
    return seconds / kSecondsPerHour;
}

}  // namespace

std::vector<Messgroesse> chartQuantities(const FitSetup& setup) {
    std::vector<Messgroesse> out;
    for (const MessgroesseSpec& q : kMessgroessen) {
        bool any = false;
        for (const MeasuredSeries& s : setup.series)
            any = any || shows(s, q.groesse);
        if (any) out.push_back(q.groesse);
    }
    return out;
}

std::string chartName(Messgroesse g) {
    return chartOf(g).name;
}

std::string chartStem(Messgroesse g) {
    return chartOf(g).stem;
}

PlotSpec comparisonChart(const FitSetup& setup, const std::vector<SeriesCurve>& curves,
                         Messgroesse g) {
    const QuantityChart& c = chartOf(g);
    PlotSpec spec;
    spec.title = std::string(c.name) + ": gemessen und gerechnet";
    spec.xTitle = kTimeTitle;
    spec.yTitle = c.yTitle;
    spec.legendBelow = true;
    for (std::size_t s = 0; s < setup.series.size(); ++s) {
        const MeasuredSeries& series = setup.series[s];
        if (!shows(series, g)) continue;
        const Measurement& m = series.measurement;
        const bool fromMass = g == Messgroesse::X && waterLoadFromMass(series);
        const std::vector<double>& values = m.werte[slot(fromMass ? Messgroesse::Masse : g)];
        std::vector<double> x, y;
        for (std::size_t i = 0; i < m.size(); ++i) {
            if (std::isnan(values[i])) continue;
            x.push_back(hours(m.zeit[i]));
            y.push_back(fromMass ? waterLoadOf(series, Messgroesse::Masse, values[i]) : values[i]);
        }
        const Rgb colour = seriesColour(static_cast<int>(s));
        spec.series.push_back(pointSeries(series.name + ": gemessen", std::move(x), std::move(y),
                                          colour, markerOf(s)));
        if (s >= curves.size() || curves[s].werte[slot(g)].empty()) continue;
        const SeriesCurve& curve = curves[s];
        PlotSeries line;
        line.label = series.name + ": gerechnet";
        line.colour = colour;
        for (std::size_t i : thinnedIndices(curve.werte[slot(g)], kCurveBuckets)) {
            line.x.push_back(hours(curve.zeit[i]));
            line.y.push_back(curve.werte[slot(g)][i]);
        }
        spec.series.push_back(std::move(line));
    }
    return spec;
}

PlotSpec residualChart(const FitSetup& setup, const FitResult& result, Messgroesse g) {
    const QuantityChart& c = chartOf(g);
    PlotSpec spec;
    spec.title = std::string("Abweichungen: ") + c.name + " (gerechnet − gemessen)";
    spec.xTitle = kTimeTitle;
    // Short, so that it fits beside the low chart: the residual's symbol and unit.
    spec.yTitle = std::string(c.symbol) + " in " + c.unit;
    spec.legendBelow = true;
    std::vector<std::vector<double>> x(setup.series.size()), y(setup.series.size());
    for (const ComparisonRow& row : result.comparison) {
        if (row.series >= setup.series.size()) continue;
        const MeasuredSeries& series = setup.series[row.series];
        if (row.groesse == g) {
            x[row.series].push_back(hours(row.zeit));
            y[row.series].push_back(row.residual);
        } else if (g == Messgroesse::X && row.groesse == Messgroesse::Masse &&
                   waterLoadFromMass(series)) {
            x[row.series].push_back(hours(row.zeit));
            y[row.series].push_back(row.residual / series.trockenmasse_g);
        }
    }
    for (std::size_t s = 0; s < setup.series.size(); ++s) {
        if (!shows(setup.series[s], g)) continue;
        spec.series.push_back(pointSeries(setup.series[s].name, std::move(x[s]), std::move(y[s]),
                                          seriesColour(static_cast<int>(s)), markerOf(s)));
    }
    PlotGuide zero;
    zero.vertical = false;
    zero.at = 0;
    zero.colour = kZeroGrey;
    zero.dash = Dash::Solid;
    spec.guides.push_back(zero);
    return spec;
}

}  // namespace tesmo
