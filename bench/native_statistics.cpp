// The statistics window's refresh without windows: the model's work once a second (a copy of the
// running statistics formatted into the ten value texts, telling which changed).
#include "ui/StatisticsModel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quelmo;

TResStatistics Running() {
    TResStatistics s;
    s.Samples = 7200;
    s.CPUUsageMin = 1.25;
    s.CPUUsageAverage = 23.4;
    s.CPUUsageMax = 100;
    s.MemoryUsageMin = 41.2;
    s.MemoryUsageAverage = 45.67;
    s.MemoryUsageMax = 52.1;
    s.MemoryTotalMB = 16303.5;
    s.TimeStarted = {2014, 2, 11, 9, 5, 3, 0};
    s.TickStarted = 1000;
    return s;
}

// One refresh as the timer makes it: a second later, one more sample, a moved average.
void StatisticsRefresh(benchmark::State& state) {
    ui::StatisticsModel model;
    TResStatistics s = Running();
    std::uint32_t tick = 3'600'000;
    model.Format(&s, tick);
    for (auto _ : state) {
        ++s.Samples;
        s.CPUUsageAverage += 0.01;
        tick += 1000;
        model.Format(&s, tick);
        benchmark::DoNotOptimize(model.Text(ui::StatisticsLabel::TimeRuning).data());
    }
}
BENCHMARK(StatisticsRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
