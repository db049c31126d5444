// Small statistics for the studies: quantiles, ranks and the rank correlation.
#pragma once

#include <vector>

namespace tesmo {

// The q-quantile (0 ≤ q ≤ 1) of the values by linear interpolation between order statistics
// (position q·(n − 1) in the sorted list). Not a number for no values.
double quantile(std::vector<double> values, double q);

// Ranks 1 … n, ties sharing the mean of their ranks.
std::vector<double> ranks(const std::vector<double>& values);

// Spearman's rank correlation: Pearson's correlation of the ranks. Not a number when fewer
// than two values or when either list is constant.
double spearman(const std::vector<double>& a, const std::vector<double>& b);

// Counts of the values in the bins [lo + i·width, lo + (i+1)·width), i = 0 … bins − 1; a value
// exactly at the upper end goes into the last bin, values outside are not counted.
std::vector<int> histogram(const std::vector<double>& values, double lo, double width, int bins);

}  // namespace tesmo
