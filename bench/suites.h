#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "benchscripts.h"

namespace velloran::bench {

// Positions every window operation is measured at: home, mid-surface and near the wrap limit.
struct Place {
    const char* tag;
    float position;
};
inline constexpr Place kPlaces[] = {{"home", 480.0f}, {"mid", -120000.0f}, {"wrap", -239000.0f}};

void registerWindowBenchmarks();
void registerScriptBenchmarks();
void registerWholeScriptBenchmarks();  // the whole-script option's figures
void registerMarkerBenchmarks();

// Markers in the marked bench script of this size: found by a scan, and as many as it was given.
std::size_t markersFound(ScriptSize size);
std::size_t markersMade(ScriptSize size);

// Wall time of one call, for benchmarks that time only part of each iteration.
template <class Work> double secondsOf(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Registers a benchmark whose iterations time themselves (manual time), in microseconds.
template <class Function, class... Args>
void addTimed(const std::string& name, Function function, Args... args)
{
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) { function(state, args...); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace velloran::bench
