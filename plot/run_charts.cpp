#include "plot/run_charts.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "plot/mollier.h"
#include "plot/number_text.h"

namespace tesmo {

namespace {

constexpr double kSecondsPerHour = 3600;
constexpr double kMetresToMm = 1000;
constexpr const char* kTimeTitle = "Zeit in h";
constexpr Rgb kReferenceGrey{110, 110, 110};
// Profiles shown of one run, and of each run when several are shown.
constexpr std::size_t kProfilesAlone = 8;
constexpr std::size_t kProfilesEach = 4;
constexpr double kMarkerSpacing = 70;  // pixels between the markers along a profile

constexpr std::array<RunChartInfo, kRunChartCount> kCharts = {{
    {RunChart::Wasserbeladung, "Wasserbeladung", "wasserbeladung"},
    {RunChart::Temperaturen, "Temperaturen", "temperaturen"},
    {RunChart::Verdunstungsrate, "Verdunstungsrate", "verdunstungsrate"},
    {RunChart::Trocknungsspiegel, "Trocknungsspiegel", "trocknungsspiegel"},
    {RunChart::Schwindung, "Schwindung", "schwindung"},
    {RunChart::Bigot, "Bigot-Kurve", "bigot"},
    {RunChart::Profile, "Beladungsprofile", "profile"},
    {RunChart::Mollier, "h,x-Diagramm", "hx-diagramm"},
}};

// A curve over time: one history, scaled to the diagram's unit. Its colour (alone in a
// diagram) follows what it shows, the same in every diagram: air and mean values 0, the
// surface 1, the core 2.
struct Curve {
    const char* label;
    HistoryIndex history;
    double scale;
    Dash dash;
    int colour;
};

struct TimeChart {
    RunChart chart;
    const char* title;
    const char* yTitle;
    std::size_t curveCount;
    std::array<Curve, 3> curves;
};

// clang-format off
constexpr TimeChart kTimeCharts[] = {
    {RunChart::Wasserbeladung, "Wasserbeladung der Platte", "Wasserbeladung in kg/kg atro", 3,
     {{{"mittlere", kXmom, 1, Dash::Solid, 0}, {"Oberfläche", kXOb, 1, Dash::Dashed, 1},
       {"Kern", kXK, 1, Dash::DashDot, 2}}}},
    {RunChart::Temperaturen, "Temperaturen von Luft und Platte", "Temperatur in °C", 3,
     {{{"Luft", kThetaLuft, 1, Dash::Solid, 0}, {"Oberfläche", kThetaOb, 1, Dash::Dashed, 1},
       {"Kern", kThetaK, 1, Dash::DashDot, 2}}}},
    {RunChart::Verdunstungsrate, "Verdunstungsrate", "Verdunstungsrate in kg/(m² h)", 1,
     {{{"Verdunstungsrate", kRate, 1, Dash::Solid, 0}}}},
    {RunChart::Trocknungsspiegel, "Tiefe des Trocknungsspiegels",
     "Tiefe des Trocknungsspiegels in mm", 1,
     {{{"Spiegeltiefe", kSpiegel, kMetresToMm, Dash::Solid, 0}}}},
    {RunChart::Schwindung, "Lineare Schwindung", "lineare Schwindung in %", 2,
     {{{"Oberfläche", kSchwindOb, 1, Dash::Dashed, 1},
       {"Kern", kSchwindK, 1, Dash::DashDot, 2}}}},
};
// clang-format on

const TimeChart* timeChart(RunChart chart) {
    for (const TimeChart& t : kTimeCharts)
        if (t.chart == chart) return &t;
    return nullptr;
}

// "Lauf 2 – Kern" when several runs are shown, the curve's own name when one is.
std::string curveLabel(const std::vector<ChartRun>& runs, const ChartRun& run, const char* curve,
                       bool severalCurves) {
    if (runs.size() == 1) return curve;
    return severalCurves ? run.label + " – " + curve : run.label;
}

// The colour of a curve of `run`: per curve for one run, per run for several.
Rgb curveColour(const std::vector<ChartRun>& runs, const ChartRun& run, const Curve& curve) {
    return runs.size() == 1 ? seriesColour(curve.colour) : seriesColour(run.colour);
}

// A series from x and y values, thinned to what a diagram can show.
PlotSeries thinnedSeries(std::string label, const std::vector<double>& x,
                         const std::vector<double>& y, Rgb colour, Dash dash) {
    PlotSeries s;
    s.label = std::move(label);
    s.colour = colour;
    s.dash = dash;
    for (std::size_t i : thinnedIndices(y, kCurveBuckets)) {
        s.x.push_back(x[i]);
        s.y.push_back(y[i]);
    }
    return s;
}

// A grey dotted line across the diagram: a level or a moment of the run.
PlotGuide guide(std::string label, bool vertical, double at) {
    PlotGuide g;
    g.label = std::move(label);
    g.vertical = vertical;
    g.at = at;
    g.colour = kReferenceGrey;
    return g;
}

std::vector<double> hours(const RunRecord& r) {
    std::vector<double> h(r.time);
    for (double& t : h)
        t /= kSecondsPerHour;
    return h;
}

// A note that names the runs left out of a diagram and why: "Lauf 4 ohne Zeitachse".
void noteLeftOut(PlotSpec& spec, const std::vector<std::string>& names, const char* why) {
    if (names.empty()) return;
    std::string note;
    for (const std::string& n : names)
        note += (note.empty() ? "" : ", ") + n;
    spec.note += (spec.note.empty() ? "" : "; ") + note + " " + why;
}

PlotSpec timeDiagram(const TimeChart& def, const std::vector<ChartRun>& runs) {
    PlotSpec spec;
    spec.title = def.title;
    spec.xTitle = kTimeTitle;
    spec.yTitle = def.yTitle;
    std::vector<std::string> withoutTime;
    for (const ChartRun& run : runs) {
        const RunRecord& r = *run.record;
        if (!r.timeKnown()) {
            withoutTime.push_back(run.label);
            continue;
        }
        const std::vector<double> t = hours(r);
        for (std::size_t k = 0; k < def.curveCount; ++k) {
            const Curve& c = def.curves[k];
            std::vector<double> y(r.histories[c.history]);
            for (double& v : y) {
                // A rate below zero marks a failed search of the front temperature that the
                // evaluation of a stopped run has not repaired: no value.
                if (c.history == kRate && v < 0) v = std::nan("");
                v *= c.scale;
            }
            spec.series.push_back(thinnedSeries(curveLabel(runs, run, c.label, def.curveCount > 1),
                                                t, y, curveColour(runs, run, c), c.dash));
        }
    }
    noteLeftOut(spec, withoutTime, "ohne Zeitachse (Datei ohne Eingaben)");

    if (runs.size() != 1 || !runs[0].record->timeKnown()) return spec;
    const RunRecord& r = *runs[0].record;
    if (def.chart == RunChart::Schwindung && std::isfinite(r.linTrSchwind))
        spec.guides.push_back(guide("lineare Trockenschwindung", false, r.linTrSchwind));
    if (std::isfinite(r.t1TA))
        spec.guides.push_back(guide("Ende 1. Trocknungsabschnitt", true, r.t1TA / kSecondsPerHour));
    return spec;
}

PlotSpec bigotDiagram(const std::vector<ChartRun>& runs) {
    PlotSpec spec;
    spec.title = "Bigot-Kurve: Schwindung über der mittleren Wasserbeladung";
    spec.xTitle = "mittlere Wasserbeladung in kg/kg atro";
    spec.yTitle = "lineare Schwindung in %";
    spec.note = "Die Trocknung verläuft von rechts nach links.";
    const Curve curves[] = {{"Oberfläche", kSchwindOb, 1, Dash::Dashed, 1},
                            {"Kern", kSchwindK, 1, Dash::DashDot, 2}};
    for (const ChartRun& run : runs) {
        const RunRecord& r = *run.record;
        for (std::size_t k = 0; k < std::size(curves); ++k)
            spec.series.push_back(thinnedSeries(curveLabel(runs, run, curves[k].label, true),
                                                r.histories[kXmom], r.histories[curves[k].history],
                                                curveColour(runs, run, curves[k]), curves[k].dash));
        // The plate that dries evenly shrinks on the straight line to XSchwEnde, then no more.
        if (!std::isfinite(r.XAnf) || !std::isfinite(r.XSchwEnde) || !std::isfinite(r.linTrSchwind))
            continue;
        PlotSeries even;
        even.label = runs.size() == 1 ? "gleichmäßig feuchte Platte" : "";
        even.x = {r.XAnf, r.XSchwEnde, 0};
        even.y = {0, r.linTrSchwind, r.linTrSchwind};
        even.colour = runs.size() == 1 ? kReferenceGrey : seriesColour(run.colour);
        even.dash = Dash::Dotted;
        even.width = 0.75;
        spec.series.push_back(std::move(even));
        if (runs.size() == 1) {
            spec.texts.push_back({r.XSchwEnde, r.linTrSchwind, "Schwindungsende", kReferenceGrey,
                                  PlotText::Side::Above});
            spec.yLimits = {0, r.linTrSchwind * 1.12};  // room for the text above the level
        }
    }
    return spec;
}

// Of n profiles, at most `most` spread evenly, the first and last among them; and the one
// that ends the first period, which every run draws red.
std::vector<std::size_t> chosenProfiles(const std::vector<StoredProfile>& profiles,
                                        std::size_t most) {
    std::vector<std::size_t> chosen;
    const std::size_t n = profiles.size();
    if (n == 0) return chosen;
    for (std::size_t i = 0; i < n; ++i)
        if (profiles[i].periodEnd) chosen.push_back(i);
    const std::size_t spread = most - std::min(most - 1, chosen.size());
    for (std::size_t k = 0; k < spread && k < n; ++k)
        chosen.push_back(spread == 1 ? n - 1 : k * (n - 1) / (spread - 1));
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return chosen;
}

std::string hoursText(double seconds) {
    return decimalText(seconds / kSecondsPerHour, 2) + " h";
}

PlotSpec profileDiagram(const std::vector<ChartRun>& runs) {
    PlotSpec spec;
    spec.title = "Wasserbeladungsprofile über der halben Dicke";
    spec.xTitle = "Abstand von der Oberfläche in mm";
    spec.yTitle = "Wasserbeladung in kg/kg atro";
    constexpr Dash kDashes[] = {Dash::Solid, Dash::Dashed, Dash::DashDot, Dash::Dotted,
                                Dash::DashDotDot};
    std::vector<std::string> without;
    for (const ChartRun& run : runs) {
        const RunRecord& r = *run.record;
        if (r.profiles.empty() || !std::isfinite(r.Ortsschritt)) {
            without.push_back(run.label);
            continue;
        }
        const auto chosen =
            chosenProfiles(r.profiles, runs.size() == 1 ? kProfilesAlone : kProfilesEach);
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            const StoredProfile& p = r.profiles[chosen[k]];
            PlotSeries s;
            std::string when = hoursText(p.time);
            if (p.periodEnd) when += ", Ende 1. Abschnitt";
            s.label = runs.size() == 1 ? when : run.label + ", " + when;
            s.colour =
                runs.size() == 1 ? seriesColour(static_cast<int>(k)) : seriesColour(run.colour);
            s.dash = kDashes[k % std::size(kDashes)];
            s.markers = true;
            s.marker = static_cast<Marker>(k % 5);
            s.markerSpacing = kMarkerSpacing;
            for (int i = 0; i < p.nodes; ++i) {
                s.x.push_back(i * r.Ortsschritt * kMetresToMm);
                // The dried layer above the drying front holds no water; the model keeps
                // extrapolated values below zero there.
                s.y.push_back(std::max(0.0, p.X[static_cast<std::size_t>(i)]));
            }
            spec.series.push_back(std::move(s));
        }
        if (runs.size() == 1 && std::isfinite(r.XSchwEnde))
            spec.guides.push_back(guide("Schwindungsende", false, r.XSchwEnde));
    }
    noteLeftOut(spec, without, "ohne Profile (Datei)");
    if (spec.note.empty())
        spec.note = "0 mm: Oberfläche, rechts: Mittelebene; Lage in der getrockneten Platte.";
    return spec;
}

}  // namespace

const std::array<RunChartInfo, kRunChartCount>& runCharts() {
    return kCharts;
}

const RunChartInfo& runChartInfo(RunChart chart) {
    return kCharts[static_cast<std::size_t>(chart)];
}

PlotSpec runChart(RunChart chart, const std::vector<ChartRun>& runs) {
    PlotSpec spec;
    if (const TimeChart* t = timeChart(chart)) {
        spec = timeDiagram(*t, runs);
    } else if (chart == RunChart::Bigot) {
        spec = bigotDiagram(runs);
    } else if (chart == RunChart::Profile) {
        spec = profileDiagram(runs);
    } else if (chart == RunChart::Mollier) {
        spec = mollierChart(runs);
    }
    // Labels of several runs are long; below the plot they stay whole and the plot keeps its
    // width.
    spec.legendBelow = true;
    return spec;
}

std::string positionText(RunChart chart, const PlotSpec& spec, double x, double y) {
    if (chart == RunChart::Mollier) return mollierPositionText(x, y);
    return axesPositionText(spec, x, y);
}

std::string pointText(RunChart chart, const PlotSpec& spec, int series, PlotPoint point) {
    const std::string text = positionText(chart, spec, point.x, point.y);
    if (series < 0 || static_cast<std::size_t>(series) >= spec.series.size()) return text;
    const std::string& label = spec.series[static_cast<std::size_t>(series)].label;
    return label.empty() ? text : label + ": " + text;
}

}  // namespace tesmo
