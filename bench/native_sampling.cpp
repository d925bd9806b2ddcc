// One sampling cycle (processor sample, memory sample, statistics update) natively, with the
// fake sources and with the kernel's real figures from /proc/stat; and the walker alone.
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "fakes/PerfDataRegistry.h"
#include "platform/Seam.h"
#include "sampling/MyThreads.h"
#include "sampling/PerfData.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace quelmo;

// The display step is not part of the measured cycle, so nothing reaches the link.
class NoUiLink final : public platform::UiLink {
public:
    void Synchronize(platform::FunctionRef<void()> call) override { call(); }
    void PostToWindow(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    void JoinServing(std::thread& thread) override { thread.join(); }
};

constexpr std::int64_t kSecond = 10'000'000;

std::vector<std::byte> ProcessorBlock(std::size_t processors, std::uint16_t second) {
    std::vector<std::int64_t> idle;
    for (std::size_t i = 0; i <= processors; ++i) {
        idle.push_back(static_cast<std::int64_t>(second) * kSecond / static_cast<std::int64_t>(i + 2));
    }
    fakes::PerfSystemTime time;
    time.second = second;
    return fakes::BuildPerfBlock({fakes::ProcessorObjectLayout(idle)}, time).bytes;
}

// Takes the first snapshot from whatever source the seams offer, then times one cycle (processor
// and memory sample, statistics) per iteration.
void RunCycles(benchmark::State& state) {
    CpuUsageCounters counters;
    counters.RefreshCounters();
    NoUiLink link;
    TResMonitor monitor(link, nullptr, counters);
    monitor.StartUp();
    for (auto _ : state) {
        monitor.ProcessorSample();
        monitor.MemorySample();
        monitor.UpdateStatistics();
        benchmark::DoNotOptimize(monitor.CPUUsageTotal);
    }
}

void BM_CycleFakePerformanceData(benchmark::State& state) {
    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    const platform::ScopedSeam<platform::System> systemSeam(system);
    const platform::ScopedSeam<platform::Registry> registrySeam(registry);
    const auto processors = static_cast<std::size_t>(state.range(0));
    registry.SetBlock(ProcessorBlock(processors, 1));
    RunCycles(state);
}
BENCHMARK(BM_CycleFakePerformanceData)->Arg(4)->Arg(64);

void BM_CycleFakeKernelTimes(benchmark::State& state) {
    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    const platform::ScopedSeam<platform::System> systemSeam(system);
    const platform::ScopedSeam<platform::Registry> registrySeam(registry);
    registry.SetBlock(fakes::BuildPerfBlock({}).bytes);
    system.SetProcessorTimes(std::vector<platform::ProcessorTime>(static_cast<std::size_t>(state.range(0))));
    RunCycles(state);
}
BENCHMARK(BM_CycleFakeKernelTimes)->Arg(4)->Arg(64);

// The real kernel figures of this machine (/proc/stat and sysinfo) behind the same seam.
void BM_CycleLinuxKernelTimes(benchmark::State& state) {
    fakes::PerfDataRegistry registry;
    const platform::ScopedSeam<platform::Registry> registrySeam(registry);
    registry.SetBlock(fakes::BuildPerfBlock({}).bytes);
    RunCycles(state);
}
BENCHMARK(BM_CycleLinuxKernelTimes);

void BM_WalkProcessorObject(benchmark::State& state) {
    const std::vector<std::byte> block = ProcessorBlock(static_cast<std::size_t>(state.range(0)), 1);
    std::vector<std::int64_t> values(static_cast<std::size_t>(state.range(0)) + 1);
    for (auto _ : state) {
        perfdata::ProcessorObject object;
        perfdata::FindProcessorCounter(block, object);
        perfdata::ReadInstanceCounters(block, object, values.size(), values.data());
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_WalkProcessorObject)->Arg(4)->Arg(64);

} // namespace

BENCHMARK_MAIN();
