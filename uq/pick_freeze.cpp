// Sobol' indices from a pick-freeze design with OpenTURNS' estimators, the pair Saltelli et al.
// (2010) recommend: the first order as 1/N Σ f(B)·(f(A_B) - f(A)) (OpenTURNS names it after
// Mauntz and Kucherenko), whose errors stay small where the older forms subtract two large
// squared means; the totals after Jansen, 1/(2N) Σ (f(A) - f(A_B))². Each comes with a
// bootstrap confidence interval.
#include <openturns/JansenSensitivityAlgorithm.hxx>
#include <openturns/MauntzKucherenkoSensitivityAlgorithm.hxx>

#include <cmath>

#include "uq/ot_support.h"
#include "uq/sensitivity.h"

namespace tesmo {

namespace {

// Fewer complete base points than this give no usable estimate of a variance ratio.
constexpr std::size_t kMinBasePoints = 10;

Estimate estimate(const OT::Point& values, const OT::Interval& interval, std::size_t g) {
    return {values[g], interval.getLowerBound()[g], interval.getUpperBound()[g]};
}

}  // namespace

ResultIndices pickFreezeIndices(const UncertaintyPlan& plan, const UncertaintySample& sample,
                                const std::vector<double>& outputs, std::size_t column) {
    ResultIndices r;
    r.column = column;
    r.method = IndexMethod::PickFreeze;
    const std::size_t n = sample.pickFreezeBase;
    const std::size_t blocks = sample.rows / n;  // A, B and one per group
    const std::size_t groups = blocks - 2;

    // A base point counts only with every case of its line: the estimators compare the
    // result of A's row with B's and with each mixed row.
    std::vector<std::size_t> complete;
    for (std::size_t i = 0; i < n; ++i) {
        bool all = true;
        for (std::size_t b = 0; b < blocks && all; ++b)
            all = std::isfinite(outputs[b * n + i]);
        if (all) complete.push_back(i);
    }
    r.used = complete.size();
    if (complete.size() < kMinBasePoints) {
        r.reason = "zu wenige vollständig gerechnete Zeilen des Pick-Freeze-Plans (" +
                   std::to_string(complete.size()) + " von " + std::to_string(n) + ")";
        return r;
    }
    const std::size_t m = complete.size();
    OT::Sample output(m * blocks, 1);
    for (std::size_t b = 0; b < blocks; ++b)
        for (std::size_t k = 0; k < m; ++k)
            output(b * m + k, 0) = outputs[b * n + complete[k]];
    // The estimators take the inputs only for the number of groups (and their names); the
    // groups' rows are arranged by position.
    const OT::Sample input(m * blocks, groups);

    try {
        OtSession session(plan.seed);
        OT::MauntzKucherenkoSensitivityAlgorithm saltelli(input, output, m);
        OT::JansenSensitivityAlgorithm jansen(input, output, m);
        for (OT::SobolIndicesAlgorithmImplementation* a :
             {static_cast<OT::SobolIndicesAlgorithmImplementation*>(&saltelli),
              static_cast<OT::SobolIndicesAlgorithmImplementation*>(&jansen)}) {
            a->setBootstrapSize(kBootstrapResamples);
            a->setConfidenceLevel(kConfidence);
        }
        const OT::Point first = saltelli.getFirstOrderIndices();
        const OT::Interval firstInterval = saltelli.getFirstOrderIndicesInterval();
        const OT::Point total = jansen.getTotalOrderIndices();
        const OT::Interval totalInterval = jansen.getTotalOrderIndicesInterval();
        for (std::size_t g = 0; g < groups; ++g)
            r.indices.push_back(
                {g, estimate(first, firstInterval, g), estimate(total, totalInterval, g)});
    } catch (const OT::Exception& e) {
        r.indices.clear();
        r.reason = "OpenTURNS konnte die Indizes nicht schätzen: " + std::string(e.what());
        return r;
    }
    r.reported = true;
    return r;
}

}  // namespace tesmo
