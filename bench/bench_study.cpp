// A study of 16 default cases with one and with two worker threads, against one headless run
// of the same case as the runner does it (window and run control, no study around it).
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

#include "display/headless_window.h"
#include "display/run_control.h"
#include "study/study_engine.h"

namespace tesmo {
namespace {

constexpr std::size_t kCases = 16;

void BM_EinzelLaufHeadless(benchmark::State& state) {
    auto st = std::make_unique<RunState>();
    for (auto _ : state) {
        HeadlessWindow window(*st);
        RunControl control(window);
        control.cmd_Start_Click();
        benchmark::DoNotOptimize(st->Wasserfehler);
    }
}
BENCHMARK(BM_EinzelLaufHeadless)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// Sixteen copies of the default case; the time reported is that of the whole study.
void BM_Studie16(benchmark::State& state) {
    const CaseList cases(
        defaultInputTexts(),
        std::vector<Variation>{{Control::txt_mue, std::vector<std::string>(kCases, "20")}});
    const CaseSelection all{0, 1, cases.size()};
    std::size_t rows = 0;
    StudyCallbacks callbacks;
    callbacks.sink = [&rows](const CaseOutcome&) {
        ++rows;
        return true;
    };
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        runStudy(cases, all, static_cast<unsigned>(state.range(0)), callbacks, cancel);
    }
    benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_Studie16)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(8.0)
    ->UseRealTime();

}  // namespace
}  // namespace tesmo
