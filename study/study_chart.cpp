#include "study/study_chart.h"

#include <algorithm>
#include <string_view>

#include "plot/plot_data.h"
#include "study/result_view.h"

namespace tesmo {

namespace {

constexpr std::string_view kFieldPrefix = "txt_";

// "1 Fall …" or "3 Fälle …".
std::string cases(std::size_t n, const char* what) {
    return std::to_string(n) + (n == 1 ? " Fall " : " Fälle ") + what;
}

}  // namespace

std::string curveLabel(Control field, const std::string& text) {
    std::string_view name = controlName(field);
    if (name.substr(0, kFieldPrefix.size()) == kFieldPrefix)
        name.remove_prefix(kFieldPrefix.size());
    const std::string unit = captionParts(trimmedCaption(inputCaption(field))).unit;
    return std::string(name) + " = " + text + (unit.empty() ? "" : " " + unit);
}

PlotSpec studyChart(const std::vector<Variation>& variations,
                    const std::vector<CaseOutcome>& outcomes, std::size_t column) {
    PlotSpec spec;
    if (variations.empty() || column >= kResultCount) return spec;
    const Control xField = variations[0].field;
    const std::string xCaption = trimmedCaption(inputCaption(xField));
    spec.xTitle = xCaption;
    spec.yTitle = chartCaption(resultColumns()[column]);
    spec.title = captionParts(spec.yTitle).name + " über " + captionParts(xCaption).name;

    // One curve per value of the second variation (a single curve without one), in its order.
    const std::size_t curves = variations.size() > 1 ? variations[1].texts.size() : 1;
    std::vector<std::vector<PlotPoint>> points(curves);
    std::size_t unfinished = 0, withoutValue = 0;
    for (const CaseOutcome& o : outcomes) {
        if (!finished(o)) {
            ++unfinished;
            continue;
        }
        if (!o.reached[column]) {
            ++withoutValue;
            continue;
        }
        const auto x = static_cast<std::size_t>(index(xField));
        if (!o.inputRead[x]) continue;  // not a case of this study: it could not have finished
        points[(o.number - 1) % curves].push_back({o.inputs[x], chartValue(o, column)});
    }
    for (std::size_t k = 0; k < curves; ++k) {
        if (points[k].empty()) continue;
        std::sort(points[k].begin(), points[k].end(),
                  [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
        PlotSeries s;
        if (variations.size() > 1)
            s.label = curveLabel(variations[1].field, variations[1].texts[k]);
        s.colour = seriesColour(static_cast<int>(k));
        s.markers = true;
        for (const PlotPoint& p : points[k]) {
            s.x.push_back(p.x);
            s.y.push_back(p.y);
        }
        spec.series.push_back(std::move(s));
    }
    std::string note;
    if (unfinished > 0) note = cases(unfinished, "nicht beendet");
    if (withoutValue > 0)
        note += (note.empty() ? "" : ", ") + cases(withoutValue, "ohne diesen Wert");
    if (!note.empty()) spec.note = note + ", nicht gezeigt";
    return spec;
}

}  // namespace tesmo
