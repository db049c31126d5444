#include "uq/uncertainty_charts.h"

#include <algorithm>
#include <cmath>

#include "model/text_to_number.h"
#include "study/result_view.h"
#include "uq/report.h"
#include "uq/result_texts.h"

namespace tesmo {

namespace {

// The quantile intervals lie this far above the highest bin, as a share of its height.
constexpr double kIntervalHeight = 1.08;
// Each input group takes one unit of the index chart; its two bars share it with a gap.
constexpr double kBarInner = 0.04, kBarOuter = 0.4;

std::string chartTitle(const char* what, std::size_t column) {
    const ResultColumn& c = resultColumns()[column];
    return std::string(what) + ": " + captionParts(resultCaption(c)).name + " (" + c.name + ")";
}

std::string withUnit(const std::string& text, std::size_t column) {
    const std::string unit = tableUnit(column);
    return unit.empty() ? text : text + " " + unit;
}

}  // namespace

PlotSpec histogramChart(const UncertaintyAnalysis& a, std::size_t result) {
    PlotSpec spec;
    if (result >= a.statistics.size()) return spec;
    const ResultStatistics& s = a.statistics[result];
    spec.title = chartTitle("Histogramm", s.column);
    spec.xTitle = tableCaption(s.column);
    spec.yTitle = "Fälle";
    spec.legendBelow = true;
    spec.xGrid = false;

    PlotBars bins;
    bins.label = "Fälle je Klasse";
    bins.colour = kBinColour;
    std::size_t most = 0;
    for (std::size_t b = 0; b < s.histogram.counts.size(); ++b) {
        bins.from.push_back(s.histogram.edges[b]);
        bins.to.push_back(s.histogram.edges[b + 1]);
        bins.value.push_back(static_cast<double>(s.histogram.counts[b]));
        most = std::max(most, s.histogram.counts[b]);
    }
    spec.bars.push_back(std::move(bins));

    struct Mark {
        const char* name;
        const Estimate* estimate;
        Dash dash;
    };
    const Mark marks[] = {{"5-%-Quantil", &s.q05, Dash::Dashed},
                          {"Median", &s.q50, Dash::Solid},
                          {"95-%-Quantil", &s.q95, Dash::DashDot}};
    PlotIntervals intervals;
    intervals.label = "95-%-Vertrauensintervall der Quantile";
    intervals.horizontal = true;
    intervals.colour = kQuantileColour;
    for (const Mark& m : marks) {
        if (!std::isfinite(m.estimate->value)) continue;
        spec.guides.push_back({std::string(m.name) + " " +
                                   withUnit(withInterval(*m.estimate, readableNumber), s.column),
                               true, m.estimate->value, kQuantileColour, m.dash, 1.2});
        intervals.at.push_back(kIntervalHeight *
                               static_cast<double>(std::max<std::size_t>(most, 1)));
        intervals.low.push_back(m.estimate->low);
        intervals.high.push_back(m.estimate->high);
    }
    spec.intervals.push_back(std::move(intervals));

    for (const LimitStatistics& l : a.limits) {
        if (l.limit.column != s.column) continue;
        spec.guides.push_back({"Grenze " +
                                   std::string(l.limit.side == LimitSide::Above ? "> " : "< ") +
                                   withUnit(ZahlZuTextExakt(l.limit.value), s.column) +
                                   ": jenseits mit " + withInterval(l.probability, percentText),
                               true, l.limit.value, kLimitColour, Dash::Dotted, 1.6});
    }
    spec.note = s.count == 0 ? "Kein fertig gerechneter Fall hat diesen Wert."
                             : "Aus " + std::to_string(s.count) +
                                   " fertig gerechneten Fällen; Quantile mit ihrem "
                                   "95-%-Vertrauensintervall aus dem Bootstrap.";
    return spec;
}

PlotSpec sobolChart(const UncertaintyAnalysis& a, std::size_t result) {
    PlotSpec spec;
    if (result >= a.indices.size()) return spec;
    const ResultIndices& r = a.indices[result];
    spec.title = chartTitle("Sobol'-Indizes", r.column);
    spec.xTitle = "Anteil an der Varianz (Sobol'-Index)";
    spec.legendBelow = true;
    spec.yGrid = false;
    const auto groups = static_cast<double>(a.groups.size());
    spec.yLimits = {-0.5, groups - 0.5};
    for (std::size_t g = 0; g < a.groups.size(); ++g)
        spec.yLabels.push_back({groups - 1 - static_cast<double>(g), groupLabel(a.groups[g])});

    PlotBars first, total;
    first.label = "erster Ordnung";
    total.label = "total";
    PlotIntervals intervals;
    intervals.label = "95-%-Vertrauensintervall";
    for (PlotBars* b : {&first, &total}) {
        b->horizontal = true;
        b->colour = kIndexColour;
    }
    total.fill = Fill::Light;
    intervals.horizontal = true;
    intervals.cap = 6;
    double lowest = 0, highest = 1;
    if (r.reported) {
        for (const SobolIndex& s : r.indices) {
            const double at = groups - 1 - static_cast<double>(s.group);
            first.from.push_back(at + kBarInner);
            first.to.push_back(at + kBarOuter);
            first.value.push_back(s.first.value);
            total.from.push_back(at - kBarOuter);
            total.to.push_back(at - kBarInner);
            total.value.push_back(s.total.value);
            for (const auto& [estimate, middle] :
                 {std::pair{&s.first, at + (kBarInner + kBarOuter) / 2},
                  std::pair{&s.total, at - (kBarInner + kBarOuter) / 2}}) {
                intervals.at.push_back(middle);
                intervals.low.push_back(estimate->low);
                intervals.high.push_back(estimate->high);
                for (double v : {estimate->value, estimate->low, estimate->high})
                    if (std::isfinite(v)) {
                        lowest = std::min(lowest, v);
                        highest = std::max(highest, v);
                    }
            }
        }
    }
    // The whole scale from 0 to 1 (or beyond, where an estimate lies there), so that shares
    // compare at a glance from one chart to the next.
    spec.xLimits = {lowest, highest};
    spec.bars = {std::move(first), std::move(total)};
    spec.intervals.push_back(std::move(intervals));
    spec.note = indicesNote(a, result);
    for (const InputGroup& g : a.groups)
        if (g.correlated) {
            spec.note +=
                " Korrelierte Eingaben gelten als Gruppe: ihr Index ist der Anteil aller "
                "zusammen.";
            break;
        }
    return spec;
}

}  // namespace tesmo
