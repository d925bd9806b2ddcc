// The sampling code against the real sources under Wine (or Windows): the processor-usage
// counters, the memory status and the whole start/stop sequence (the user-interface link's own
// behaviour is checked by its contract, UiLinkWinTest.cpp).
#include "app/MyConfig.h"
#include "platform/System.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32UiLink.h"
#include "sampling/CpuUsage.h"
#include "sampling/MyThreads.h"
#include "sampling/MyWindowMessages.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quelmo {
namespace {

std::int32_t Processors() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return static_cast<std::int32_t>(info.dwNumberOfProcessors);
}

// Dispatches every message of this thread until `done` holds; false after `timeoutMs`.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 10000) {
    const DWORD started = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - started > timeoutMs) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

// A message-only window that records the clock messages it receives.
class ClockWindow {
public:
    ClockWindow() {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = &ClockWindow::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"QuelmoTestClockWindow";
            return ::RegisterClassExW(&wc);
        }();
        (void)atom;
        window_.Reset(::CreateWindowExW(0, L"QuelmoTestClockWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr));
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ClockWindow(const ClockWindow&) = delete;
    ClockWindow& operator=(const ClockWindow&) = delete;

    HWND Handle() const { return window_.Get(); }
    std::vector<WPARAM> speeds;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClockWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_CPU_SPEED && self != nullptr) {
            self->speeds.push_back(wParam);
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    win32::UniqueWindow window_;
};

TEST(RealSources, OneInstancePerProcessorPlusTheTotal) {
    CpuUsageCounters counters;
    ASSERT_TRUE(counters.IsNT());
    counters.RefreshCounters();
    EXPECT_EQ(counters.CounterCount(), Processors() + 1);
    std::printf("processor usage from %s\n",
                counters.UsesKernelTimes() ? "the kernel's processor times" : "the performance data");
    ::Sleep(200);
    counters.RefreshCounters();
    for (std::int32_t i = 0; i < counters.CounterCount(); ++i) {
        const double usage = counters.CounterUsage(i);
        EXPECT_GE(usage, -0.05) << i;
        EXPECT_LE(usage, 1.05) << i;
    }
}

// Usage of each instance over `milliseconds`.
std::vector<double> MeasureUsage(CpuUsageCounters& counters, DWORD milliseconds) {
    counters.RefreshCounters();
    ::Sleep(milliseconds);
    counters.RefreshCounters();
    std::vector<double> usages;
    for (std::int32_t i = 0; i < counters.CounterCount(); ++i) {
        usages.push_back(counters.CounterUsage(i));
    }
    return usages;
}

TEST(RealSources, BusyThreadPinnedToAProcessorDrivesOnlyThatInstance) {
    if (Processors() < 2) {
        GTEST_SKIP() << "needs two processors";
    }
    CpuUsageCounters counters;
    counters.RefreshCounters();
    const std::size_t totalIndex = static_cast<std::size_t>(counters.CounterCount() - 1);
    for (const int busyProcessor : {0, 1}) {
        const int idleProcessor = 1 - busyProcessor;
        std::atomic<bool> stop{false};
        std::thread busy([&] {
            ::SetThreadAffinityMask(::GetCurrentThread(), DWORD_PTR{1} << busyProcessor);
            while (!stop.load()) {
            }
        });
        // Other programs may load either processor for a while: keep the best of a few windows.
        double busyUsage = 0;
        double idleUsage = 1;
        for (int window = 0; window < 6 && (busyUsage < 0.8 || idleUsage > 0.6); ++window) {
            const std::vector<double> usages = MeasureUsage(counters, 750);
            busyUsage = std::max(busyUsage, usages[static_cast<std::size_t>(busyProcessor)]);
            idleUsage = std::min(idleUsage, usages[static_cast<std::size_t>(idleProcessor)]);
            if (Processors() == 2) {
                const double mean = (usages[0] + usages[1]) / 2;
                EXPECT_NEAR(usages[totalIndex], mean, 0.15) << "the total is the mean";
            }
        }
        stop.store(true);
        busy.join();
        std::printf("busy processor %d at %.2f, idle processor %d at %.2f\n", busyProcessor, busyUsage,
                    idleProcessor, idleUsage);
        EXPECT_GE(busyUsage, 0.8) << "processor " << busyProcessor;
        if (idleUsage > 0.6) {
            // Without our thread: is it someone else's load?
            // A quarter of a processor taken by others means the machine is too busy to tell.
            const double alone = MeasureUsage(counters, 750)[static_cast<std::size_t>(idleProcessor)];
            if (alone > 0.25) {
                GTEST_SKIP() << "other programs keep processor " << idleProcessor << " busy (" << alone
                             << ")";
            }
            ADD_FAILURE() << "processor " << idleProcessor << " at " << idleUsage << " while only processor "
                          << busyProcessor << " was loaded";
        }
    }
}

TEST(RealSources, MemorySampleMatchesTheSystemsStatus) {
    platform::Win32UiLink link;
    CpuUsageCounters counters;
    TResMonitor monitor(link, nullptr, counters);
    const bool physical = config::UsePhysicalMemory.load();
    monitor.MemorySample();
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    const double totalMB =
        static_cast<double>(physical ? status.ullTotalPhys : status.ullTotalPageFile) / 1048576;
    EXPECT_DOUBLE_EQ(monitor.MemoryTotalMB, totalMB);
    EXPECT_GT(monitor.MemoryUsagePercent, 0);
    EXPECT_LT(monitor.MemoryUsagePercent, 100);
    EXPECT_GT(monitor.MemoryUsedMB, 0);
    EXPECT_LT(monitor.MemoryUsedMB, monitor.MemoryTotalMB);
}

TEST(RealSources, VersionAndProcessorTimes) {
    auto& system = platform::TheSystem();
    platform::OsVersion version;
    ASSERT_TRUE(system.GetVersion(version));
    EXPECT_EQ(version.platformId, platform::kPlatformWin32Nt);
    EXPECT_GE(version.major, 5u);
    std::vector<platform::ProcessorTime> times(64);
    EXPECT_EQ(system.ProcessorTimes(times), static_cast<std::size_t>(Processors()));
    EXPECT_GE(times[0].kernel, times[0].idle) << "kernel time includes idle time";
}

TEST(SamplingSequence, StartShowsSamplesAndClockThenStopEndsBothThreads) {
    const std::uint16_t oldRate = config::Rate.exchange(100);
    ClockWindow target;
    platform::Win32UiLink link(target.Handle());
    SamplingThreads sampling;
    int displays = 0;
    std::int32_t cpuCount = 0;
    double total = -1;
    const std::wstring error = StartSampling(sampling, link, [&](const TResMonitor& monitor) {
        ++displays;
        cpuCount = monitor.CPUCount;
        total = monitor.CPUUsageTotal;
    });
    ASSERT_EQ(error, L"");
    EXPECT_TRUE(PumpUntil([&] { return displays >= 5 && !target.speeds.empty(); }));
    // Stopping while the sampler runs at 100 ms: a display step may be pending right now.
    StopSampling(sampling);
    config::Rate.store(oldRate);
    EXPECT_EQ(cpuCount, Processors());
    EXPECT_GE(total, 0);
    EXPECT_LE(total, 100);
    ASSERT_FALSE(target.speeds.empty());
    EXPECT_GT(target.speeds[0], 100u);
    EXPECT_LT(target.speeds[0], 10000u);
    std::printf("clock %u MHz, %d samples\n", static_cast<unsigned>(target.speeds[0]), displays);
}

} // namespace
} // namespace quelmo
