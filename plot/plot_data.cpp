#include "plot/plot_data.h"

#include <algorithm>
#include <cmath>

namespace tesmo {

bool showable(double v, bool log) {
    return std::isfinite(v) && (!log || v > 0);
}

std::vector<std::vector<PlotPoint>> shownRuns(const PlotSeries& series, bool logX, bool logY) {
    std::vector<std::vector<PlotPoint>> runs;
    const std::size_t n = std::min(series.x.size(), series.y.size());
    bool inRun = false;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = series.x[i], y = series.y[i];
        if (!showable(x, logX) || !showable(y, logY)) {
            inRun = false;
            continue;
        }
        if (!inRun) runs.emplace_back();
        runs.back().push_back({x, y});
        inRun = true;
    }
    return runs;
}

void DataRange::include(double v) {
    if (empty()) {
        min = max = v;
    } else {
        min = std::min(min, v);
        max = std::max(max, v);
    }
}

DataRanges shownRanges(const PlotSpec& spec) {
    DataRanges r;
    for (const PlotSeries& s : spec.series) {
        for (const auto& run : shownRuns(s, spec.logX, spec.logY)) {
            for (const PlotPoint& p : run) {
                r.x.include(p.x);
                r.y.include(p.y);
            }
        }
    }
    return r;
}

}  // namespace tesmo
