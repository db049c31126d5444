// A study of sixteen default cases from the study window against the same study from the
// runner with two workers, and how long the window's event loop waits meanwhile.
//
// Each iteration runs both, in turns first, so that a change in the machine's load between
// them evens out. Counters: the mean wall time of each, their ratio (window / runner) and the
// longest gap between two ticks of a 10 ms timer in the window's event loop while its study ran.
// The platform is whatever QT_QPA_PLATFORM says (offscreen unless set).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "bench/qt_bench_main.h"
#include "gui/program_window.h"
#include "gui/study_setup_panel.h"
#include "gui/study_window.h"
#include "model/run_state.h"
#include "study/study_engine.h"

namespace {

using namespace tesmo;
using Clock = std::chrono::steady_clock;

constexpr int kCases = 16;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// "20;20;…": the default text of txt_mue sixteen times, i.e. the default case sixteen times.
std::string sixteenDefaults() {
    std::string list;
    for (int i = 0; i < kCases; ++i)
        list += std::string(i ? ";" : "") + defaultText(Control::txt_mue);
    return list;
}

double runnerSeconds() {
    const std::string command = std::string("'") + TESMO_BATCH_EXE +
                                "' --vary 'txt_mue=" + sixteenDefaults() +
                                "' --jobs 2 --table /dev/null";
    const auto t0 = Clock::now();
    if (std::system(command.c_str()) != 0) std::abort();
    return seconds(Clock::now() - t0);
}

// Runs the study in the window; returns its wall time and the longest gap between ticks.
std::pair<double, double> windowSeconds(qt::StudyWindow& study) {
    QEventLoop loop;
    QObject::connect(&study, &qt::StudyWindow::studyEnded, &loop, &QEventLoop::quit);
    QTimer tick;
    tick.setInterval(10);
    Clock::time_point last = Clock::now();
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longest = std::max(longest, seconds(now - last));
        last = now;
    });
    const auto t0 = Clock::now();
    tick.start();
    last = t0;
    if (!study.startStudy()) std::abort();
    loop.exec();
    const double wall = seconds(Clock::now() - t0);
    tick.stop();
    longest = std::max(longest, seconds(Clock::now() - last));
    return {wall, longest};
}

void BM_StudieFensterGegenRunner(benchmark::State& bench) {
    auto st = std::make_unique<RunState>();
    qt::ProgramWindow program(*st);
    program.show();
    program.showStudy();
    qt::StudyWindow& study = *program.studyWindow();
    StudyForm form;
    form.vary[0].field = Control::txt_mue;
    form.vary[0].kind = EntryKind::List;
    form.vary[0].values = sixteenDefaults();
    study.setup().setForm(form);
    QCoreApplication::processEvents();

    double window = 0, runner = 0, longestGap = 0;
    int n = 0;
    for (auto _ : bench) {
        const bool runnerFirst = n % 2 == 0;
        if (runnerFirst) runner += runnerSeconds();
        const auto [wall, gap] = windowSeconds(study);
        window += wall;
        longestGap = std::max(longestGap, gap);
        if (!runnerFirst) runner += runnerSeconds();
        bench.SetIterationTime(wall);
        ++n;
    }
    bench.counters["Fenster_s"] = window / n;
    bench.counters["Runner_s"] = runner / n;
    bench.counters["Verhaeltnis"] = window / runner;
    bench.counters["LaengsteLuecke_ms"] = longestGap * 1000;
}
BENCHMARK(BM_StudieFensterGegenRunner)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(6);

}  // namespace

int main(int argc, char** argv) {
    return tesmo::bench::runQtBenchmarks<QApplication>(argc, argv);
}
