// What an uncertainty study found, as German texts: its numbers (four significant digits, the
// decimal comma, every interval at 95 %) and its tables as rows of cells, the same for the
// report, the study window and the PDF report. Values are in the units of the study table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "uq/analysis.h"

namespace tesmo {

// A value with four significant digits, never fewer whole digits than it has: 18 346, 2,724,
// 0,3676; beyond that plain range as a power of ten; "–" when not finite.
std::string readableNumber(double v);
// A share 0..1 in percent with two decimals: "9,90 %".
std::string percentText(double share);
// A sensitivity index with three decimals.
std::string indexText(double v);
// A surrogate's Q² with four decimals ("= 0,9731"); one that would round to 1 says how close
// it is ("> 0,9999").
std::string q2Text(double q2);
// "value [low; high]", or the value alone when the estimate has no interval.
std::string withInterval(const Estimate& e, std::string (*format)(double));

// The caption of a result column in the study table's unit: "laufende Zeit in s",
// "max. Schwindungsgradient in 1/m".
std::string tableCaption(std::size_t column);

// An input's distribution in words: "lognormal, Mittelwert 40, Standardabweichung 8",
// "gleichverteilt von 15 bis 25", …, with the numbers as exact as the study file has them.
std::string distributionWords(const Marginal& m);
// The same for input i of a correlated block: normal (or lognormal when it is normal on a log
// scale), with its mean (median) and standard deviation, and where the block comes from.
std::string correlatedWords(const CorrelatedNormal& block, std::size_t i);
// The correlation of inputs i and j of a block.
double correlation(const CorrelatedNormal& block, std::size_t i, std::size_t j);

// A table of texts: a header of column titles and rows of cells.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// One row per uncertain input: its control name, its caption and its distribution.
TextTable inputsTable(const UncertaintyPlan& plan);
// The correlations of a block as a table of its inputs.
TextTable correlationTable(const CorrelatedNormal& block);
// Where the cases that did not finish lie: one row per input (empty when all finished).
TextTable regionsTable(const UncertaintyAnalysis& a);
// One row per analysed result: name, unit, cases, mean, standard deviation, the three
// quantiles (with their intervals).
TextTable statisticsTable(const UncertaintyAnalysis& a);
// One row per limit: the limit, how many cases lie beyond it, the probability with its
// interval and its range over all cases.
TextTable limitsTable(const UncertaintyAnalysis& a);
// One row per input group for the analysed result at `result` (index into a.indices); empty
// rows when the indices are withheld.
TextTable indicesTable(const UncertaintyAnalysis& a, std::size_t result);
// How the indices of that result were estimated, or why there are none (one sentence).
std::string indicesNote(const UncertaintyAnalysis& a, std::size_t result);
// How many cases finished and, when some did not, how they ended (one or two sentences).
std::string casesNote(const UncertaintyAnalysis& a);

// An input group's short name for charts: control names without "txt_", joined by " + ".
std::string groupLabel(const InputGroup& group);

}  // namespace tesmo
