#include "uq/statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "uq/random_stream.h"

namespace tesmo {

namespace {

// The z value of the two-sided 95 % normal interval.
constexpr double kZ95 = 1.959963984540054;

// The resampled statistics of one bootstrap: for each resample the mean and three quantiles,
// computed from how often each sorted value was drawn (no sorting per resample).
struct Resampled {
    std::vector<double> mean, q05, q50, q95;
};

// The k-th smallest value (from 0) of a resample given by the draw counts of sorted values.
class OrderWalk {
  public:
    OrderWalk(const std::vector<double>& sorted, const std::vector<std::uint32_t>& counts)
        : sorted_(sorted), counts_(counts) {}
    double at(std::size_t k) {
        while (seen_ + counts_[index_] <= k)
            seen_ += counts_[index_++];
        return sorted_[index_];
    }

  private:
    const std::vector<double>& sorted_;
    const std::vector<std::uint32_t>& counts_;
    std::size_t index_ = 0, seen_ = 0;
};

double resampledQuantile(OrderWalk& walk, std::size_t n, double p) {
    const double h = static_cast<double>(n - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    const double lower = walk.at(below);
    return below + 1 < n ? lower + (h - static_cast<double>(below)) * (walk.at(below + 1) - lower)
                         : lower;
}

Resampled bootstrap(const std::vector<double>& sorted, std::uint64_t seed) {
    const std::size_t n = sorted.size();
    RandomStream random(seed);
    Resampled r;
    std::vector<std::uint32_t> counts(n);
    for (std::size_t b = 0; b < kBootstrapResamples; ++b) {
        std::fill(counts.begin(), counts.end(), 0);
        for (std::size_t i = 0; i < n; ++i)
            ++counts[random.below(n)];
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i)
            sum += counts[i] * sorted[i];
        r.mean.push_back(sum / static_cast<double>(n));
        // The quantiles in increasing order, so one walk through the counts serves all three.
        OrderWalk walk(sorted, counts);
        r.q05.push_back(resampledQuantile(walk, n, 0.05));
        r.q50.push_back(resampledQuantile(walk, n, 0.50));
        r.q95.push_back(resampledQuantile(walk, n, 0.95));
    }
    return r;
}

// The percentile interval of resampled values around the estimate from all values.
Estimate percentileInterval(double value, std::vector<double> resampled) {
    std::sort(resampled.begin(), resampled.end());
    const double tail = (1 - kConfidence) / 2;
    return {value, quantile(resampled, tail), quantile(resampled, 1 - tail)};
}

}  // namespace

double quantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return kNotComputed;
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

Histogram histogram(const std::vector<double>& sorted) {
    Histogram h;
    if (sorted.empty()) return h;
    const double low = sorted.front(), high = sorted.back();
    if (!(high > low)) {
        h.edges = {low, high};
        h.counts = {sorted.size()};
        return h;
    }
    const auto rule =
        static_cast<std::size_t>(std::ceil(2.0 * std::cbrt(static_cast<double>(sorted.size()))));
    const std::size_t bins = std::clamp<std::size_t>(rule, 5, 50);
    const double width = (high - low) / static_cast<double>(bins);
    for (std::size_t b = 0; b < bins; ++b)
        h.edges.push_back(low + width * static_cast<double>(b));
    h.edges.push_back(high);
    h.counts.assign(bins, 0);
    for (double v : sorted) {
        const auto b = static_cast<std::size_t>((v - low) / width);
        ++h.counts[std::min(b, bins - 1)];
    }
    return h;
}

ResultStatistics resultStatistics(std::size_t column, std::vector<double> values,
                                  std::uint64_t seed) {
    ResultStatistics s;
    s.column = column;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    s.sd = values.size() > 1 ? std::sqrt(squares / (n - 1)) : kNotComputed;
    s.histogram = histogram(values);
    s.mean.value = mean;
    s.q05.value = quantile(values, 0.05);
    s.q50.value = quantile(values, 0.50);
    s.q95.value = quantile(values, 0.95);
    if (values.size() < 2) return s;
    const Resampled r = bootstrap(values, seed);
    s.mean = percentileInterval(mean, r.mean);
    s.q05 = percentileInterval(s.q05.value, r.q05);
    s.q50 = percentileInterval(s.q50.value, r.q50);
    s.q95 = percentileInterval(s.q95.value, r.q95);
    return s;
}

Estimate wilsonInterval(std::size_t k, std::size_t n) {
    if (n == 0) return {};
    const double nn = static_cast<double>(n);
    const double p = static_cast<double>(k) / nn;
    const double z2 = kZ95 * kZ95;
    const double centre = (p + z2 / (2 * nn)) / (1 + z2 / nn);
    const double half = kZ95 / (1 + z2 / nn) * std::sqrt(p * (1 - p) / nn + z2 / (4 * nn * nn));
    // At 0 of n (n of n) the bound is 0 (1) exactly, not what rounding leaves of it.
    return {p, k == 0 ? 0.0 : std::max(0.0, centre - half),
            k == n ? 1.0 : std::min(1.0, centre + half)};
}

LimitStatistics limitStatistics(const Limit& limit, const std::vector<double>& values,
                                std::size_t withoutValue) {
    LimitStatistics s;
    s.limit = limit;
    s.count = values.size();
    for (double v : values)
        if (limit.side == LimitSide::Above ? v > limit.value : v < limit.value) ++s.beyond;
    s.probability = wilsonInterval(s.beyond, s.count);
    s.withoutValue = withoutValue;
    const double all = static_cast<double>(s.count + withoutValue);
    if (all > 0) {
        s.lowest = static_cast<double>(s.beyond) / all;
        s.highest = static_cast<double>(s.beyond + withoutValue) / all;
    }
    return s;
}

}  // namespace tesmo
