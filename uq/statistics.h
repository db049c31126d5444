// What the sampled cases say about one result: its mean and spread, its 5 %, 50 % and 95 %
// quantiles with bootstrap confidence intervals, a histogram, and how likely it lies beyond a
// limit. And which cases did not finish, and where in the inputs' distributions they lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "uq/uncertainty_plan.h"

namespace tesmo {

inline constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// The confidence level of every interval the analysis gives.
inline constexpr double kConfidence = 0.95;
// Bootstrap resamples behind an interval: enough that the interval's ends, themselves the
// 2,5 % and 97,5 % quantiles of the resampled statistic, move by well under a tenth of its
// width from one seed to the next.
inline constexpr std::size_t kBootstrapResamples = 1000;

// An estimate with its 95 % confidence interval (NaN where none could be computed).
struct Estimate {
    double value = kNotComputed;
    double low = kNotComputed;
    double high = kNotComputed;
};

// Bins of equal width from the smallest value to the largest; edges has one entry more than
// counts. A bin holds the values from its left edge up to, not including, its right edge; the
// last one also its right edge.
struct Histogram {
    std::vector<double> edges;
    std::vector<std::size_t> counts;
};

struct ResultStatistics {
    std::size_t column = 0;  // into resultColumns()
    std::size_t count = 0;   // values the statistics rest on
    Estimate mean;
    double sd = kNotComputed;  // sample standard deviation (n - 1)
    Estimate q05, q50, q95;
    Histogram histogram;
};

// The statistics of `values` (finite numbers, any order) of result `column`. The bootstrap draws
// with its own generator seeded by `seed`, so the same values give the same intervals.
ResultStatistics resultStatistics(std::size_t column, std::vector<double> values,
                                  std::uint64_t seed);

// The quantile of level p of sorted values, interpolated linearly between order statistics
// (the definition spreadsheets, NumPy and pandas use by default).
double quantile(const std::vector<double>& sorted, double p);

// Bins by the rule of twice the cube root of the number of values, between 5 and 50 bins.
Histogram histogram(const std::vector<double>& sorted);

struct LimitStatistics {
    Limit limit;
    std::size_t count = 0;   // cases with a value
    std::size_t beyond = 0;  // of them beyond the limit
    Estimate probability;    // beyond / count with Wilson's score interval
    // Cases without a value (refused, ended early, or never reached it): the probability over
    // all cases lies between these two, whatever those cases would have given.
    std::size_t withoutValue = 0;
    double lowest = kNotComputed, highest = kNotComputed;
};
LimitStatistics limitStatistics(const Limit& limit, const std::vector<double>& values,
                                std::size_t withoutValue);

// Wilson's score interval of a probability from k of n: it stays inside 0..1 and keeps its
// coverage near 0 and 1, where a rare exceedance lies.
Estimate wilsonInterval(std::size_t k, std::size_t n);

// Cases that did not finish: how many, how they ended, and the part of each input's range and
// distribution they come from.
struct EndCount {
    std::string end;   // the table's word: refused, unstable, …; "missing" for a case not run
    std::string word;  // the study window's German word: "abgelehnt", "instabil", …
    std::size_t count = 0;
};
struct InputRegion {
    Control field = Control::txt_Dicke;
    double lowest = kNotComputed, highest = kNotComputed;            // values
    double lowestLevel = kNotComputed, highestLevel = kNotComputed;  // probability levels 0..1
};
struct Unfinished {
    std::size_t count = 0;  // cases of the sample that did not finish (or are missing)
    std::size_t total = 0;  // cases of the sample
    std::vector<EndCount> ends;
    std::vector<InputRegion> regions;  // one per sampled input; empty when every case finished
};

}  // namespace tesmo
