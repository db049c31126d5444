// Time of one step of each drying period and of the whole default run, without a window.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/drying_run.h"
#include "model/first_period.h"
#include "model/inputs.h"
#include "model/null_window_port.h"
#include "model/second_period.h"
#include "model/setup.h"

namespace tesmo {
namespace {

using NullPort = NullWindowPort;

// The default run, prepared and stepped `firstSteps` steps into its first period (which has
// 15400 steps), or on into the second period when `second` is set.
std::unique_ptr<RunState> defaultRunAt(int firstSteps, bool second) {
    auto st = std::make_unique<RunState>();
    NullPort port;
    Einrichtung(*st, defaultInputTexts(), port);
    ersterAbschnittVorbereiten(*st, port);
    if (second) {
        ersterTrocknungsabschnitt(*st, port);
        uebergang(*st, port);
    } else {
        for (int k = 0; k < firstSteps; ++k)
            ersterAbschnittSchritt(*st, port);
    }
    return st;
}

// Steps from a fixed state; every `span` steps the state is restored outside the timing, so
// that the steps measured stay inside their period.
template <class Step>
void stepFrom(benchmark::State& state, const RunState& start, int span, Step step) {
    auto st = std::make_unique<RunState>(start);
    NullPort port;
    int done = 0;
    for (auto _ : state) {
        if (done == span) {
            state.PauseTiming();
            *st = start;
            done = 0;
            state.ResumeTiming();
        }
        step(*st, port);
        ++done;
    }
}

void BM_ErsterAbschnittSchritt(benchmark::State& state) {
    static const auto start = defaultRunAt(4000, false);
    stepFrom(state, *start, 10000, [](RunState& st, WindowPort& port) {
        benchmark::DoNotOptimize(ersterAbschnittSchritt(st, port));
    });
}
BENCHMARK(BM_ErsterAbschnittSchritt)->Unit(benchmark::kMicrosecond);

void BM_ZweiterAbschnittSchritt(benchmark::State& state) {
    static const auto start = defaultRunAt(0, true);
    stepFrom(state, *start, 25000, [](RunState& st, WindowPort& port) {
        benchmark::DoNotOptimize(zweiterAbschnittSchritt(st, port));
    });
}
BENCHMARK(BM_ZweiterAbschnittSchritt)->Unit(benchmark::kMicrosecond);

// The whole default run (44 350 steps and the evaluation) into a run state that exists.
void BM_StandardLauf(benchmark::State& state) {
    auto st = std::make_unique<RunState>();
    const InputTexts texts = defaultInputTexts();
    NullPort port;
    for (auto _ : state)
        benchmark::DoNotOptimize(Trocknungslauf(*st, texts, port));
}
BENCHMARK(BM_StandardLauf)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace tesmo
