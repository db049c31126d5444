// A fit of three material values to three measured series of 60 points each on the coarse grid
// (txt_Ortsschrittweite 0,25, txt_deltaT 2,0), with one and with two jobs; and one run of each
// series' case as the runner does it (window and run control), to compare the time per model
// run of the fit with a single run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>
#include <random>

#include "display/headless_window.h"
#include "display/run_capture.h"
#include "display/run_control.h"
#include "fit/fit.h"
#include "fit/sampling.h"
#include "study/case_runner.h"

namespace tesmo {
namespace {

struct Kammer {
    const char* lufttemp;
    const char* feuchte;
};
constexpr Kammer kKammern[] = {{"35", "60"}, {"45", "40"}, {"60", "20"}};
constexpr std::size_t kPoints = 60;

// A 10 mm plate dried in a climate chamber to 0,02 kg/kg, on the coarse grid.
InputTexts caseOf(const Kammer& k) {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = "10";
    t[Control::txt_Ortsschrittweite] = "0,25";
    t[Control::txt_deltaT] = "2,0";
    t[Control::txt_XZiel] = "0,02";
    t[Control::txt_Lufttemp] = k.lufttemp;
    t[Control::txt_AbluftFeuchte] = k.feuchte;
    t.optionen.klima = Klima::Konstant;
    return t;
}

// Processor time of the whole process (every thread) in s: under a loaded machine it still
// says what one model run costs.
double processSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// The water load the model gives at 60 times over 95 % of the drying, with noise of 0,002.
const FitSetup& setup() {
    static const FitSetup s = [] {
        FitSetup setup;
        std::mt19937 random(1);
        const auto gauss = [&random] {
            const double u1 = (random() + 0.5) / 4294967296.0, u2 = (random() + 0.5) / 4294967296.0;
            return std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
        };
        for (const Kammer& k : kKammern) {
            MeasuredSeries series;
            series.name = std::string(k.lufttemp) + ".csv";
            series.texts = caseOf(k);
            auto runner = std::make_unique<CaseRunner>();
            auto capture = std::make_unique<RunCapture>();
            runner->run(1, series.texts, nullptr, capture.get());
            const HistoryArray& times = capture->recordTimes();
            Measurement& m = series.measurement;
            for (std::size_t i = 0; i < kPoints; ++i)
                m.zeit.push_back(0.95 * runner->state().Laufzeit * static_cast<double>(i) /
                                 (kPoints - 1));
            m.zeile.assign(kPoints, 0);
            m.werte[slot(Messgroesse::X)].assign(kPoints, 0);
            const MeasuredPoints points = measuredPoints({series});
            simulatedValues(series, points.points.data(), points.size(), runner->state(), times,
                            m.werte[slot(Messgroesse::X)].data());
            for (double& x : m.werte[slot(Messgroesse::X)])
                x += 0.002 * gauss();
            setup.series.push_back(std::move(series));
        }
        // Started half as far again from the values that made the measurements.
        setup.parameters = {{Control::txt_Feuchteleit, 60, 5, 200, 0},
                            {Control::txt_KappaSteig, 4.5, 1, 15, 0},
                            {Control::txt_mue, 30, 2, 200, 0}};
        return setup;
    }();
    return s;
}

void BM_Anpassung(benchmark::State& state) {
    FitControl control;
    control.jobs = static_cast<unsigned>(state.range(0));
    setup();
    FitResult r;
    double cpu = 0;
    for (auto _ : state) {
        const double before = processSeconds();
        r = runFit(setup(), control);
        cpu = processSeconds() - before;
    }
    state.counters["runs"] = static_cast<double>(r.modelRuns);
    state.counters["iterations"] = r.iterations;
    // Wall time per model run times the jobs: the processor time one run takes within the fit.
    state.counters["ms_per_run"] =
        1000 * r.seconds * control.jobs / static_cast<double>(r.modelRuns);
    state.counters["cpu_ms_per_run"] = 1000 * cpu / static_cast<double>(r.modelRuns);
    state.counters["converged"] = r.end == FitEnd::Converged;
}
BENCHMARK(BM_Anpassung)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

// One run of each of the three cases, as the runner makes it; the time is that of all three.
void BM_EinzelLaeufeDerDreiReihen(benchmark::State& state) {
    auto st = std::make_unique<RunState>();
    for (auto _ : state)
        for (const Kammer& k : kKammern) {
            HeadlessWindow window(*st);
            window.setInputTexts(caseOf(k));
            RunControl control(window);
            control.setRunOptions(caseOf(k).optionen);
            control.cmd_Start_Click();
            benchmark::DoNotOptimize(st->Wasserfehler);
        }
    state.counters["ms_per_run"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 3,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EinzelLaeufeDerDreiReihen)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace tesmo
