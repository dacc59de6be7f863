// velloran_bench: what the main window costs, by script size, on the offscreen platform.
//
//   velloran_bench [--benchmark_* flags]   the benchmarks alone, as Google Benchmark runs them
//   velloran_bench --table                 everything, printed as one table with the budgets
//   velloran_bench --smoke                 a quick run that checks the measurements still work
//   velloran_bench --timing|--memory|--startup [--size=lines10|mb1|mb10] [--seconds=S]
//                                          one probe in this process (the table starts these)
//   velloran_bench --startup|--memory --settings=FILE
//                                          the probe with that file as Settings.ini
//   velloran_bench --timing --recovery=MS  tick timing while the recovery copy is written every MS
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "benchwindow.h"
#include "probes.h"
#include "report.h"
#include "suites.h"

namespace {

using velloran::bench::ScriptSize;

struct Options {
    const char* mode = nullptr;  // nullptr: the plain benchmarks
    ScriptSize size = ScriptSize::TenMb;
    double seconds = 5;
    QString settingsFile;
    int recoveryEveryMs = 0;  // 0: no recovery copies
    bool valid = true;
};

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!std::strcmp(argument, "--table") || !std::strcmp(argument, "--smoke") ||
            !std::strcmp(argument, "--timing") || !std::strcmp(argument, "--memory") ||
            !std::strcmp(argument, "--startup"))
            options.mode = argument;
        else if (!std::strncmp(argument, "--size=", 7))
            options.valid = options.valid && velloran::bench::sizeFromTag(argument + 7, &options.size);
        else if (!std::strncmp(argument, "--seconds=", 10))
            options.seconds = std::atof(argument + 10);
        else if (!std::strncmp(argument, "--recovery=", 11))
            options.valid = options.valid && (options.recoveryEveryMs = std::atoi(argument + 11)) > 0;
        else if (!std::strncmp(argument, "--settings=", 11))
            options.settingsFile = QString::fromLocal8Bit(argument + 11);
        else if (options.mode)
            options.valid = false;
    }
    options.valid = options.valid && options.seconds > 0;
    return options;
}

bool is(const Options& options, const char* mode)
{
    return options.mode && !std::strcmp(options.mode, mode);
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace velloran::bench;
    // Headless, and the same screen on every machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const Options options = parse(argc, argv);
    if (!options.valid) {
        std::fprintf(stderr, "velloran_bench: unknown argument; see the comment at the top of main.cpp\n");
        return 2;
    }
    // Start-up is measured from before the QApplication exists.
    if (is(options, "--startup"))
        return runStartupProbe(options.size, options.settingsFile, argc, argv);

    QApplication app(argc, argv);
    int status = 0;
    if (is(options, "--table")) {
        status = runTable(argc, argv);
    } else if (is(options, "--smoke")) {
        status = runSmoke(argc, argv);
    } else if (is(options, "--timing")) {
        status = runTimingProbe(options.size, options.seconds, options.recoveryEveryMs);
    } else if (is(options, "--memory")) {
        status = runMemoryProbe(options.size, options.settingsFile);
    } else {
        registerWindowBenchmarks();
        registerScriptBenchmarks();
        registerWholeScriptBenchmarks();
        registerMarkerBenchmarks();
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 2;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    BenchWindow::releaseAll();
    return status;
}
