// The cost of building every page of the CPU information window for one processor (the tree,
// every property page, the four feature lists), without the 200 ms clock measurement: on a
// recorded processor, and on this machine's processor with its real CPUID instruction (under a
// hypervisor every CPUID is a trap to it).
#include "cpuid/CpuDump.h"
#include "cpuid/CpuLibrary.h"
#include "cpuid/RecordedClock.h"
#include "cpuid/RecordedCpu.h"
#include "platform/Seam.h"
#include "platform/Time.h"
#include "tools/CpuInfoTool.h"
#include "tools/RecordedDumps.h"
#include "ui/InfoPages.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quelmo;

// The recorded AMD Athlon XP 3200+ (Barton) at the 2200 MHz its dump names.
CpuDump Barton() {
    CpuDumpResult loaded = testing::LoadRecordedDump("amd-athlon-xp-barton.txt");
    if (!loaded.dump) {
        std::fprintf(stderr, "%s\n", loaded.error.c_str());
        std::exit(2);
    }
    return std::move(*loaded.dump);
}

// Every node code of the tree, depth first.
void Codes(const ui::InfoNode& node, std::vector<int>& codes) {
    codes.push_back(node.code);
    for (const auto& child : node.children) {
        Codes(child, codes);
    }
}

std::size_t AllPages() {
    std::size_t rows = 0;
    std::vector<int> codes;
    for (const auto& node : ui::BuildInfoTree()) {
        Codes(node, codes);
    }
    for (const int code : codes) {
        rows += ui::BuildPropertyRows(code).size();
    }
    for (std::uint8_t kind = 1; kind <= 4; ++kind) {
        rows += ui::BuildFeatureList(kind).rows.size();
    }
    return rows;
}

void BM_AllPagesRecordedProcessor(benchmark::State& state) {
    RecordedClock clock(2'200'000);
    RecordedCpu cpu(Barton());
    cpu.SetClock(&clock);
    const platform::ScopedSeam<platform::Time> time(clock);
    const ScopedCpu scope(cpu);
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = AllPages();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["cpuid_per_build"] =
        static_cast<double>(cpu.Executions(0) + cpu.Executions(1) + cpu.Executions(0x80000000)) /
        static_cast<double>(state.iterations());
}
BENCHMARK(BM_AllPagesRecordedProcessor)->Unit(benchmark::kMicrosecond);

void BM_AllPagesThisProcessor(benchmark::State& state) {
    // A clock in which sleeping passes no real time: the measurement is not what is timed here.
    RecordedClock clock(0);
    const platform::ScopedSeam<platform::Time> time(clock);
    RestartCpuLibrary();
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = AllPages();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_AllPagesThisProcessor)->Unit(benchmark::kMicrosecond);

void BM_ReportRecordedProcessor(benchmark::State& state) {
    RecordedClock clock(2'200'000);
    RecordedCpu cpu(Barton());
    cpu.SetClock(&clock);
    const platform::ScopedSeam<platform::Time> time(clock);
    const ScopedCpu scope(cpu);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tools::CpuInfoReport());
    }
}
BENCHMARK(BM_ReportRecordedProcessor)->Unit(benchmark::kMicrosecond);

// A synthetic dump of `lines` distinct leaves: the parser's cost per line must stay flat.
std::string LargeDump(std::int64_t lines) {
    std::string text = "leaf eax ebx ecx edx\n";
    char line[64];
    for (std::int64_t i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof(line), "%08X 00000001 00000002 00000003 00000004\n",
                      static_cast<unsigned>(i));
        text += line;
    }
    return text;
}

void BM_ParseLargeDump(benchmark::State& state) {
    const std::string text = LargeDump(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseCpuDump(text).dump.has_value());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseLargeDump)
    ->RangeMultiplier(4)
    ->Range(1024, 16384)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

BENCHMARK_MAIN();
