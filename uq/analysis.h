// Everything an uncertainty study reports, from the outcomes of its cases: the statistics of
// each chosen result, the probability of each limit, the sensitivity indices, and the cases
// that did not finish.
//
// Statistics and probabilities rest on the finished cases with the result (of a pick-freeze
// design: on its independent rows A and B). Cases that were refused, ended early or were not
// run are never dropped silently: they are counted, their share and their region of the inputs
// reported, and each probability also given as the range it would span over all cases.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "study/results.h"
#include "uq/sample.h"
#include "uq/sensitivity.h"
#include "uq/statistics.h"

namespace tesmo {

struct UncertaintyAnalysis {
    std::vector<InputGroup> groups;
    IndexMethod method = IndexMethod::Chaos;  // how the indices were estimated
    std::size_t cases = 0;                    // cases of the sample
    std::size_t independentCases = 0;         // of them independent draws (all but a pick-freeze
                                              // design's mixed rows)
    std::size_t finishedCases = 0;            // of them finished (target or mid-plane)
    Unfinished unfinished;
    std::vector<ResultStatistics> statistics;  // one per plan.results
    std::vector<LimitStatistics> limits;       // one per plan.limits
    std::vector<ResultIndices> indices;        // one per plan.results
};

// `outcomes`: cases of the sample (number = row + 1) in any order; a case of the sample without
// an outcome counts as not run. Takes well under two seconds for a thousand cases.
UncertaintyAnalysis analyseUncertainty(const UncertaintyPlan& plan, const UncertaintySample& sample,
                                       const std::vector<CaseOutcome>& outcomes);

// Why `outcomes` (read back from result tables) are not cases of this sample, in German: a
// case number beyond the sample, a case twice, or inputs other than the sample's (another seed,
// another study). Empty when they fit.
std::string outcomesProblem(const UncertaintySample& sample,
                            const std::vector<CaseOutcome>& outcomes);

}  // namespace tesmo
