// The diagram window after a default run: opening it, drawing each diagram at the size it
// opens with (1×), and the size of the time history as SVG. The run is kept as the program
// keeps it, from a headless run with the record times and profiles captured.
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>

#include "bench/qt_bench_main.h"
#include "display/headless_window.h"
#include "display/run_control.h"
#include "display/run_record.h"
#include "display/run_shelf.h"
#include "gui/diagram_window.h"
#include "gui/plot_widget.h"
#include "model/inputs.h"
#include "plot/plot_files.h"
#include "plot/run_charts.h"

namespace {

using namespace tesmo;

// The default run, kept once.
const RunRecord& defaultRun() {
    static const RunRecord record = [] {
        auto st = std::make_unique<RunState>();
        HeadlessWindow window(*st);
        RunCapture capture;
        window.setInputTexts(defaultInputTexts());
        window.setCapture(&capture);
        RunControl control(window);
        control.cmd_Start_Click();
        return recordOfRun(*st, &capture, defaultInputTexts());
    }();
    return record;
}

RunShelf& shelf() {
    static RunShelf runs = [] {
        RunShelf s;
        s.add(defaultRun());
        return s;
    }();
    return runs;
}

// Opening the window: built, shown, and its first diagram painted. The run it shows is done
// before the clock starts: it is the run's time, not the window's.
void BM_OpenDiagramWindow(benchmark::State& bench) {
    shelf();
    for (auto _ : bench) {
        qt::DiagramWindow window(shelf());
        window.show();
        benchmark::DoNotOptimize(window.plot().grab());
        bench.PauseTiming();
        window.close();
        QCoreApplication::processEvents();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDiagramWindow)->Unit(benchmark::kMillisecond);

// One diagram chosen in the open window and painted at 1×.
void BM_DrawDiagram(benchmark::State& bench) {
    const RunChart chart = runCharts()[static_cast<std::size_t>(bench.range(0))].chart;
    bench.SetLabel(runChartInfo(chart).name);
    qt::DiagramWindow window(shelf());
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        window.setChart(chart);
        benchmark::DoNotOptimize(window.plot().grab());
    }
}
BENCHMARK(BM_DrawDiagram)->DenseRange(0, kRunChartCount - 1)->Unit(benchmark::kMillisecond);

// The time history of the water load as an SVG of the runner's size: its bytes as a counter.
void BM_TimeHistorySvg(benchmark::State& bench) {
    const std::vector<ChartRun> runs = {{&defaultRun(), "Lauf 1", 0}};
    double bytes = 0;
    for (auto _ : bench)
        bytes = plotSvg(runChart(RunChart::Wasserbeladung, runs), QSize(960, 600)).size();
    bench.counters["kB"] = bytes / 1024;
}
BENCHMARK(BM_TimeHistorySvg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return tesmo::bench::runQtBenchmarks<QApplication>(argc, argv);
}
