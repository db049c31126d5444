// An uncertainty study of four inputs and 1000 drawn cases on a coarse grid (space step
// 0,25 mm, time step 2 s): the cases with one and with two worker threads (the second should
// take at most 1/1,8 of the first), and the statistics and indices afterwards (target: under
// 2 s).
#include <benchmark/benchmark.h>

#include <atomic>
#include <vector>

#include "study/result_view.h"
#include "study/study_engine.h"
#include "uq/analysis.h"

namespace tesmo {
namespace {

UncertaintyPlan fourInputs() {
    UncertaintyPlan plan;
    plan.base[Control::txt_Ortsschrittweite] = std::string("0,25");
    plan.base[Control::txt_deltaT] = std::string("2,0");
    plan.marginals = {
        {Control::txt_Feuchteleit, {DistributionKind::LogNormal, {40, 8}}, {}, {}},
        {Control::txt_mue, {DistributionKind::Uniform, {15, 25}}, {}, {}},
        {Control::txt_AbluftFeuchte, {DistributionKind::Normal, {70, 3}}, {}, {}},
        {Control::txt_KappaSteig, {DistributionKind::Triangular, {5, 6.7, 8}}, {}, {}},
    };
    plan.samples = 1000;
    plan.seed = 12;
    plan.results = {resultIndex("Laufzeit"), resultIndex("SchwindGradMax"),
                    resultIndex("spezEnergie")};
    plan.limits = {{resultIndex("SchwindGradMax"), LimitSide::Above, 8}};
    return plan;
}

std::vector<CaseOutcome> runCases(const UncertaintyPlan& plan, const UncertaintySample& sample,
                                  unsigned jobs) {
    std::vector<CaseOutcome> outcomes;
    StudyCallbacks callbacks;
    callbacks.sink = [&outcomes](const CaseOutcome& o) {
        outcomes.push_back(o);
        return true;
    };
    std::atomic<bool> cancel{false};
    const CaseList cases = sampleCases(plan, sample);
    runStudy(cases, {0, 1, cases.size()}, jobs, callbacks, cancel);
    return outcomes;
}

// The outcomes of the last run of the cases, for the analysis.
std::vector<CaseOutcome>& lastOutcomes() {
    static std::vector<CaseOutcome> outcomes;
    return outcomes;
}

void BM_Unsicherheit1000Faelle(benchmark::State& state) {
    const UncertaintyPlan plan = fourInputs();
    const UncertaintySample sample = drawSample(plan);
    for (auto _ : state)
        lastOutcomes() = runCases(plan, sample, static_cast<unsigned>(state.range(0)));
    state.counters["Faelle"] = static_cast<double>(lastOutcomes().size());
}
BENCHMARK(BM_Unsicherheit1000Faelle)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_UnsicherheitAuswertung(benchmark::State& state) {
    const UncertaintyPlan plan = fourInputs();
    const UncertaintySample sample = drawSample(plan);
    if (lastOutcomes().size() != sample.rows) lastOutcomes() = runCases(plan, sample, 2);
    for (auto _ : state) {
        const UncertaintyAnalysis a = analyseUncertainty(plan, sample, lastOutcomes());
        benchmark::DoNotOptimize(a.indices.size());
    }
}
BENCHMARK(BM_UnsicherheitAuswertung)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace tesmo
