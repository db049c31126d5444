// Global sensitivity: which uncertain input causes how much of a result's spread, as Sobol'
// indices computed by OpenTURNS.
//
// The first-order index of an input is the share of the result's variance that the input
// causes on its own (the variance of the result's mean given that input, over the variance);
// the total index adds every interaction with other inputs (one minus the share that remains
// when all other inputs are known). First-order indices add up to at most 1; the gap to 1 is
// interaction. A total index near 0 means the input could be fixed at any value of its range.
//
// Two ways to the indices: a pick-freeze design, where the cases themselves are arranged so
// that the estimators of Saltelli (first order) and Jansen (total) apply; or a polynomial-chaos
// surrogate fitted to a plain sample, whose indices follow from its coefficients. The surrogate
// is only trusted when it predicts cases it was not fitted to (leave-one-out Q² of at least
// kMinQ2); otherwise its indices are withheld.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "uq/sample.h"
#include "uq/statistics.h"

namespace tesmo {

// A surrogate that explains less of the spread of cases it was not fitted to than this is not
// good enough to apportion that spread among the inputs.
inline constexpr double kMinQ2 = 0.9;

struct SobolIndex {
    std::size_t group = 0;  // into inputGroups()
    Estimate first, total;
};

struct ResultIndices {
    std::size_t column = 0;  // into resultColumns()
    IndexMethod method = IndexMethod::Chaos;
    bool reported = false;  // false: the indices are withheld, `reason` says why
    std::string reason;     // German
    std::size_t used = 0;   // cases the estimates rest on (pick-freeze: base points)
    // The surrogate (method Chaos): its total polynomial degree, its number of terms, and
    // the share of the variance of left-out cases it predicts.
    std::size_t degree = 0, terms = 0;
    double q2 = kNotComputed;
    std::vector<SobolIndex> indices;  // one per group, when reported
};

// `outputs`: the result in each row of the sample, NaN where the case has none.
ResultIndices pickFreezeIndices(const UncertaintyPlan& plan, const UncertaintySample& sample,
                                const std::vector<double>& outputs, std::size_t column);
ResultIndices chaosIndices(const UncertaintyPlan& plan, const UncertaintySample& sample,
                           const std::vector<double>& outputs, std::size_t column);

}  // namespace tesmo
