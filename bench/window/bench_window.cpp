// A whole default run in the window against the same run headless, in one process.
//
// The platform is whatever QT_QPA_PLATFORM says (offscreen unless set): run it once plainly
// and once as `QT_QPA_PLATFORM=xcb xvfb-run -a tesmo_bench_window` to see both. The ratio of
// the two run times is the cost of showing the run.
#include <benchmark/benchmark.h>

#include <memory>

#include <QAbstractButton>
#include <QApplication>

#include "bench/qt_bench_main.h"
#include "display/headless_window.h"
#include "display/run_control.h"
#include "gui/main_window.h"
#include "model/inputs.h"

namespace {

using namespace tesmo;

void BM_HeadlessDefaultRun(benchmark::State& bench) {
    auto st = std::make_unique<RunState>();
    for (auto _ : bench) {
        HeadlessWindow window(*st);
        window.setInputTexts(defaultInputTexts());
        RunControl control(window);
        control.cmd_Start_Click();
    }
}
BENCHMARK(BM_HeadlessDefaultRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_WindowDefaultRun(benchmark::State& bench) {
    auto st = std::make_unique<RunState>();
    for (auto _ : bench) {
        bench.PauseTiming();
        qt::frm_TesmoGegen window(*st);
        window.show();
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        static_cast<QAbstractButton*>(window.widget(Control::cmd_Start))->click();
        bench.PauseTiming();
        window.hide();
        QCoreApplication::processEvents();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_WindowDefaultRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    return tesmo::bench::runQtBenchmarks<QApplication>(argc, argv);
}
