// One sampling cycle (processor sample, memory sample, statistics update) with the real sources,
// in microseconds; and, for comparison, one query of the performance data's processor object.
#include "platform/win32/Win32UiLink.h"
#include "sampling/MyThreads.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main() {
    using namespace quelmo;
    platform::Win32UiLink link;
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    monitor.StartUp();

    constexpr int kCycles = 5000;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < kCycles; ++i) {
        monitor.ProcessorSample();
        monitor.MemorySample();
        monitor.UpdateStatistics();
    }
    ::QueryPerformanceCounter(&end);
    std::printf("sampling cycle (%s, %d processors): %.2f us per cycle over %d cycles\n",
                counters.UsesKernelTimes() ? "kernel processor times" : "performance data", monitor.CPUCount,
                Seconds(start, end) * 1e6 / kCycles, kCycles);

    // What each cycle would cost if it kept asking the performance data.
    constexpr int kQueries = 20;
    std::vector<BYTE> buffer(65536);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < kQueries; ++i) {
        DWORD size = static_cast<DWORD>(buffer.size());
        ::RegQueryValueExW(HKEY_PERFORMANCE_DATA, L"238", nullptr, nullptr, buffer.data(), &size);
    }
    ::QueryPerformanceCounter(&end);
    ::RegCloseKey(HKEY_PERFORMANCE_DATA);
    std::printf("performance-data query of \"238\": %.1f us per query over %d queries\n",
                Seconds(start, end) * 1e6 / kQueries, kQueries);
    return 0;
}
