// Uncertainty studies of cheap functions with known answers: the sample is drawn as for the
// model, but each "case" computes a formula of its inputs into one result column, so that the
// statistics and indices can be checked against exact values.
#pragma once

#include <cmath>
#include <functional>
#include <vector>

#include "study/result_view.h"
#include "uq/analysis.h"

namespace tesmo::test {

inline const std::size_t kLaufzeit = resultIndex("Laufzeit");

inline Marginal marginal(Control field, DistributionKind kind, std::array<double, 3> p) {
    return {field, {kind, p}, {}, {}};
}

inline UncertaintyPlan analyticPlan(std::vector<Marginal> marginals, std::size_t samples,
                                    std::uint64_t seed = 1) {
    UncertaintyPlan plan;
    plan.marginals = std::move(marginals);
    plan.samples = samples;
    plan.seed = seed;
    plan.results = {kLaufzeit};
    return plan;
}

// Every row of the sample as a finished case whose Laufzeit is f of the row's values.
inline std::vector<CaseOutcome> analyticOutcomes(const UncertaintySample& sample,
                                                 const std::function<double(const double*)>& f) {
    std::vector<CaseOutcome> outcomes(sample.rows);
    for (std::size_t i = 0; i < sample.rows; ++i) {
        CaseOutcome& o = outcomes[i];
        o.number = i + 1;
        o.refused = false;
        o.end = RunEnd::Target;
        for (std::size_t j = 0; j < sample.columns(); ++j) {
            const auto k = static_cast<std::size_t>(index(sample.fields[j]));
            o.inputs[k] = sample.value(i, j);
            o.inputRead[k] = true;
        }
        o.results[kLaufzeit] = f(&sample.values[i * sample.columns()]);
        o.reached[kLaufzeit] = true;
    }
    return outcomes;
}

inline bool inside(double exact, const Estimate& e) {
    return e.low <= exact && exact <= e.high;
}

}  // namespace tesmo::test
