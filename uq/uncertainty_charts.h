// The charts of an uncertainty study, as plots of the project's plot library: a result's
// histogram with its quantiles and limits marked, and the Sobol' indices of a result as bars
// with their intervals. Values in the units of the study table, as in every table and the
// report, so that a mark in a chart reads the same as its number in the tables.
#pragma once

#include <cstddef>

#include "plot/plot_spec.h"
#include "uq/analysis.h"

namespace tesmo {

// The colours of the charts: the bins, and the quantiles and limits marked over them.
inline constexpr Rgb kBinColour{86, 180, 233};
inline constexpr Rgb kQuantileColour{0, 0, 0};
inline constexpr Rgb kLimitColour{213, 94, 0};
inline constexpr Rgb kIndexColour{0, 114, 178};

// The histogram of the analysed result at `result` (index into a.statistics): its bins as
// bars of the number of cases, a vertical line at the 5-, 50- and 95-% quantile each (the
// legend gives the value and its interval), the interval of each quantile as a bar across the
// top, and a line at each limit on this result with its probability.
PlotSpec histogramChart(const UncertaintyAnalysis& a, std::size_t result);

// The first-order and total Sobol' indices of the analysed result at `result` (index into
// a.indices), one pair of lying bars per input group with their 95-% intervals; when the
// indices are withheld, an empty chart whose note says why.
PlotSpec sobolChart(const UncertaintyAnalysis& a, std::size_t result);

}  // namespace tesmo
