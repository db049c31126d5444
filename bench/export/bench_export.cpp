// The exports of a finished default run, as the runner writes them on the offscreen platform:
// the PDF report (three pages), both charts as SVG and as PNG, the numeric diagrams (--plot).
// Every iteration writes its files anew.
#include <benchmark/benchmark.h>

#include <memory>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "bench/qt_bench_main.h"
#include "display/headless_window.h"
#include "display/run_capture.h"
#include "display/run_control.h"
#include "export/run_exports.h"
#include "model/inputs.h"

namespace {

using namespace tesmo;

struct FinishedRun {
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    HeadlessWindow window{*state};
    RunControl control{window};

    RunCapture capture;  // as the runner keeps it for the report's third page

    FinishedRun() {
        window.setInputTexts(defaultInputTexts());
        window.recordCharts();
        window.setCapture(&capture);
        control.cmd_Start_Click();
    }
};

const FinishedRun& finishedDefaultRun() {
    static const FinishedRun run;
    return run;
}

template <class Export>
void measure(benchmark::State& bench, const char* name, Export exportTo) {
    const FinishedRun& run = finishedDefaultRun();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
    for (auto _ : bench) {
        const qt::ExportResult result = exportTo(run.window, run.control, path);
        if (!result) bench.SkipWithError(result.message.c_str());
    }
}

void BM_ReportPdf(benchmark::State& bench) {
    measure(bench, "bericht.pdf", qt::exportReportPdf);
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

void BM_ChartsSvg(benchmark::State& bench) {
    measure(bench, "svg", qt::exportChartsSvg);
}
BENCHMARK(BM_ChartsSvg)->Unit(benchmark::kMillisecond);

void BM_ChartsPng(benchmark::State& bench) {
    measure(bench, "png", qt::exportChartsPng);
}
BENCHMARK(BM_ChartsPng)->Unit(benchmark::kMillisecond);

void BM_DiagramsSvgAndPng(benchmark::State& bench) {
    measure(bench, "diagramme", qt::exportRunDiagrams);
}
BENCHMARK(BM_DiagramsSvgAndPng)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return tesmo::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
