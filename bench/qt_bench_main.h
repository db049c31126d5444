// The main() of a benchmark program that paints with Qt: the application object `App` on the
// platform QT_QPA_PLATFORM names (offscreen unless set), then the registered benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>

namespace tesmo::bench {

template <class App>
int runQtBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tesmo::bench
