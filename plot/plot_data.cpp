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

std::vector<DataBox> shownBars(const PlotBars& bars, bool logX, bool logY) {
    std::vector<DataBox> boxes;
    const std::size_t n = std::min({bars.from.size(), bars.to.size(), bars.value.size()});
    const bool acrossLog = bars.horizontal ? logY : logX;
    const bool alongLog = bars.horizontal ? logX : logY;
    for (std::size_t i = 0; i < n; ++i) {
        if (!showable(bars.from[i], acrossLog) || !showable(bars.to[i], acrossLog) ||
            !showable(bars.value[i], alongLog) || !showable(bars.base, alongLog))
            continue;
        if (bars.horizontal)
            boxes.push_back({bars.base, bars.from[i], bars.value[i], bars.to[i]});
        else
            boxes.push_back({bars.from[i], bars.base, bars.to[i], bars.value[i]});
    }
    return boxes;
}

std::vector<DataBox> shownIntervals(const PlotIntervals& intervals, bool logX, bool logY) {
    std::vector<DataBox> boxes;
    const std::size_t n =
        std::min({intervals.at.size(), intervals.low.size(), intervals.high.size()});
    const bool atLog = intervals.horizontal ? logY : logX;
    const bool alongLog = intervals.horizontal ? logX : logY;
    for (std::size_t i = 0; i < n; ++i) {
        if (!showable(intervals.at[i], atLog) || !showable(intervals.low[i], alongLog) ||
            !showable(intervals.high[i], alongLog))
            continue;
        if (intervals.horizontal)
            boxes.push_back(
                {intervals.low[i], intervals.at[i], intervals.high[i], intervals.at[i]});
        else
            boxes.push_back(
                {intervals.at[i], intervals.low[i], intervals.at[i], intervals.high[i]});
    }
    return boxes;
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
    const auto include = [&r](const std::vector<DataBox>& boxes) {
        for (const DataBox& b : boxes) {
            r.x.include(b.x0);
            r.x.include(b.x1);
            r.y.include(b.y0);
            r.y.include(b.y1);
        }
    };
    for (const PlotBars& b : spec.bars)
        include(shownBars(b, spec.logX, spec.logY));
    for (const PlotIntervals& i : spec.intervals)
        include(shownIntervals(i, spec.logX, spec.logY));
    return r;
}

namespace {

// Liang-Barsky: the parameters t0 <= t1 in [0, 1] of the part of the segment a-b inside the
// box; false when no part lies inside.
bool segmentInside(PlotPoint a, PlotPoint b, const PlotBox& box, double& t0, double& t1) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
    t0 = 0;
    t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    return true;
}

PlotPoint along(PlotPoint a, PlotPoint b, double t) {
    if (t == 0) return a;
    if (t == 1) return b;
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

}  // namespace

std::vector<std::vector<PlotPoint>> clipToBox(const std::vector<PlotPoint>& line,
                                              const PlotBox& box) {
    std::vector<std::vector<PlotPoint>> parts;
    if (line.size() == 1) {
        if (box.contains(line.front())) parts.push_back(line);
        return parts;
    }
    bool open = false;  // the last part ends at the end of the previous segment
    for (std::size_t i = 1; i < line.size(); ++i) {
        double t0 = 0, t1 = 1;
        if (!segmentInside(line[i - 1], line[i], box, t0, t1)) {
            open = false;
            continue;
        }
        if (!open || t0 > 0) {
            parts.emplace_back();
            parts.back().push_back(along(line[i - 1], line[i], t0));
        }
        parts.back().push_back(along(line[i - 1], line[i], t1));
        open = t1 == 1;
    }
    return parts;
}

std::vector<std::size_t> thinnedIndices(const std::vector<double>& y, std::size_t buckets) {
    std::vector<std::size_t> kept;
    const std::size_t n = y.size();
    if (buckets == 0 || n <= 2 * buckets) {
        kept.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            kept[i] = i;
        return kept;
    }
    kept.push_back(0);
    for (std::size_t b = 0; b < buckets; ++b) {
        const std::size_t from = b * n / buckets, to = (b + 1) * n / buckets;
        // n: none. A point that cannot be shown stays too, so that the line still breaks.
        std::size_t low = n, high = n, gap = n;
        for (std::size_t i = from; i < to; ++i) {
            if (!std::isfinite(y[i])) {
                if (gap == n) gap = i;
                continue;
            }
            if (low == n || y[i] < y[low]) low = i;
            if (high == n || y[i] > y[high]) high = i;
        }
        for (std::size_t i : {low, high, gap})
            if (i < n) kept.push_back(i);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    if (kept.back() != n - 1) kept.push_back(n - 1);
    return kept;
}

}  // namespace tesmo
