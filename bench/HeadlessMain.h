#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

// The main of the benchmarks that need widgets: an application that runs
// headless unless a platform was chosen, then the benchmarks.
inline int runHeadlessBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
