#include "SamplingFixture.h"
#include "app/MyModules.h"
#include "sampling/MyThreads.h"
#include "sampling/MyWindowMessages.h"
#include "sampling/SamplingTexts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <thread>

namespace quelmo {
namespace {

using fakes::BuildPerfBlock;
using fakes::ProcessorObjectLayout;
using fakes::RecordingThreads;
using namespace std::chrono_literals;

// Waits (serving the link) until `done` holds; false after five seconds.
template <class Done>
bool ServeUntil(fakes::FakeUiLink& link, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        link.ServeFor(1ms);
    }
    return true;
}

TEST(SamplingRules, ProcessorFiguresAreClampedToPercent) {
    const struct {
        double value;
        double percent;
    } cases[] = {
        {1.013 * 100, 100},
        {-0.002 * 100, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 100},
        {-std::numeric_limits<double>::infinity(), 0},
        {37.5, 37.5},
        {0, 0},
        {100, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClampPercent(c.value), c.percent) << c.value;
    }
}

TEST(SamplingRules, CycleSleepsTheRestOfTheRateWithin10To2000Ms) {
    const struct {
        std::uint32_t rate, elapsed, sleep;
    } cases[] = {
        {500, 30, 470}, {500, 600, 10}, {5000, 0, 2000},  {500, 495, 10},
        {100, 0, 100},  {0, 0, 10},     {65535, 0, 2000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CycleDelay(c.rate, c.elapsed), c.sleep) << c.rate << " " << c.elapsed;
    }
}

TEST(SamplingRules, ClockFromTimeStampTicksOver500Ms) {
    const struct {
        std::uint64_t ticks;
        double speed;
        std::int64_t posted;
    } cases[] = {
        {1'500'000'000, 3000, 3000},
        {1'197'250'000, 2394.5, 2394},
        {1'197'750'000, 2395.5, 2396},
        {(std::uint64_t{1} << 32) + 1'500'000'000, 3000, 3000}, // only the low 32 bits count
        {0xFFFFFFFF, 8589.934590, 8590},
        {0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(SpeedFromTicks(c.ticks), c.speed) << c.ticks;
        EXPECT_EQ(RoundHalfEven(SpeedFromTicks(c.ticks)), c.posted) << c.ticks;
    }
}

TEST(SamplingRules, Windows2000OrLaterMeansNtFiveOrMore) {
    const struct {
        platform::OsVersion version;
        bool later;
    } cases[] = {
        {{2, 5, 0, 0}, true},  {{2, 6, 1, 0}, true},  {{2, 10, 0, 0}, true},
        {{2, 4, 0, 0}, false}, {{1, 5, 0, 0}, false}, {{1, 4, 90, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWindows2000OrLater(c.version), c.later) << c.version.platformId << "." << c.version.major;
    }
}

class ResMonitorTest : public testing::SamplingFixture {
protected:
    fakes::FakeUiLink link;
    int displays = 0;
};

TEST_F(ResMonitorTest, StartUpCountsProcessorsWithoutTheCombinedInstance) {
    const struct {
        std::uint32_t platform, major;
        std::size_t instances;
        std::int32_t cpuCount;
    } cases[] = {
        {2, 5, 5, 4}, {2, 6, 2, 1}, {2, 5, 1, 1}, {2, 4, 1, 1}, {2, 4, 2, 2}, {1, 4, 0, 1},
    };
    registry.AddDynKey(L"PerfStats\\StartStat");
    registry.AddDynKey(L"PerfStats\\StatData");
    for (const auto& c : cases) {
        system.SetVersion(platform::OsVersion{c.platform, c.major, 0, 0});
        registry.SetBlock(
            BuildPerfBlock({ProcessorObjectLayout(std::vector<std::int64_t>(c.instances))}).bytes);
        CpuUsageCounters counters;
        TResMonitor monitor(link, nullptr, counters);
        monitor.StartUp();
        EXPECT_EQ(monitor.CPUCount, c.cpuCount) << c.platform << "." << c.major << " " << c.instances;
        EXPECT_EQ(monitor.CPUUsageEach.size(), static_cast<std::size_t>(c.cpuCount));
    }
}

TEST_F(ResMonitorTest, TotalIsTheMeanOfTheProcessorsNotTheCombinedInstance) {
    system.SetWindowsNt(5);
    registry.SetBlock(BuildPerfBlock({ProcessorObjectLayout({0, 0, 0, 0, 0})}).bytes);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    fakes::PerfSystemTime later;
    later.second = 1;
    // Idle 0.1, 0.2, 0.6 and 1.0 s of one second; the combined instance claims 100 % busy.
    registry.SetBlock(
        BuildPerfBlock({ProcessorObjectLayout({kSecond / 10, kSecond / 5, 6 * kSecond / 10, kSecond, 0})},
                       later)
            .bytes);
    monitor.StartUp();
    EXPECT_EQ(monitor.CPUCount, 4);
    ASSERT_EQ(monitor.CPUUsageEach.size(), 4u);
    EXPECT_NEAR(monitor.CPUUsageEach[0], 90, 1e-9);
    EXPECT_NEAR(monitor.CPUUsageEach[1], 80, 1e-9);
    EXPECT_NEAR(monitor.CPUUsageEach[2], 40, 1e-9);
    EXPECT_NEAR(monitor.CPUUsageEach[3], 0, 1e-9);
    EXPECT_NEAR(monitor.CPUUsageTotal, 52.5, 1e-9);
}

TEST_F(ResMonitorTest, EachProcessorIsClampedBeforeTheMean) {
    system.SetWindowsNt(4);
    registry.SetBlock(BuildPerfBlock({ProcessorObjectLayout({0, 0, 0})}).bytes);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    fakes::PerfSystemTime later;
    later.second = 1;
    // Fractions 1.013, -0.002 and 0.5.
    registry.SetBlock(
        BuildPerfBlock({ProcessorObjectLayout({-13 * kSecond / 1000, 1002 * kSecond / 1000, kSecond / 2})},
                       later)
            .bytes);
    monitor.StartUp();
    EXPECT_EQ(monitor.CPUUsageEach, (std::vector<double>{100, 0, 50}));
    EXPECT_DOUBLE_EQ(monitor.CPUUsageTotal, 50);
}

TEST_F(ResMonitorTest, OneProcessorLeavesTheArrayAtZero) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    system.AddProcessorTime(0, kSecond / 4, 3 * kSecond / 4);
    monitor.StartUp();
    EXPECT_EQ(monitor.CPUCount, 1);
    EXPECT_DOUBLE_EQ(monitor.CPUUsageTotal, 75);
    EXPECT_EQ(monitor.CPUUsageEach, (std::vector<double>{0}));
}

TEST_F(ResMonitorTest, MemorySampleFromTheMemoryStatus) {
    constexpr std::int64_t kMB = 1048576;
    const platform::MemoryFigures figures{8192 * kMB, 2048 * kMB, 16384 * kMB, 12288 * kMB};
    const platform::MemoryFigures legacy{512 * kMB, 128 * kMB, 1024 * kMB, 1024 * kMB};
    const platform::MemoryFigures empty{0, 0, 0, 0};
    const struct {
        const char* name;
        std::uint32_t major;
        std::optional<platform::MemoryFigures> ex;
        bool physical;
        double usedMB, percent, totalMB;
    } cases[] = {
        {"physical", 6, figures, true, 6144, 75, 8192},
        {"page file", 6, figures, false, 4096, 25, 16384},
        {"GlobalMemoryStatusEx missing", 6, std::nullopt, true, 0, 0, -1.0 / kMB},
        {"before Windows 2000", 4, figures, true, 384, 75, 512},
        {"before Windows 2000, page file", 4, figures, false, 0, 0, 1024},
        {"memory kind of size 0", 6, empty, true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        system.SetWindowsNt(c.major);
        system.SetMemoryStatusEx(c.ex);
        system.SetMemoryStatus(legacy);
        const testing::ScopedSetting<bool> kind(config::UsePhysicalMemory, c.physical);
        UseKernelTimes(1);
        CpuUsageCounters counters;
        TResMonitor monitor(link, nullptr, counters);
        const std::size_t exCalls = system.MemoryStatusExCalls();
        monitor.MemorySample();
        EXPECT_DOUBLE_EQ(monitor.MemoryUsedMB, c.usedMB) << c.name;
        EXPECT_DOUBLE_EQ(monitor.MemoryUsagePercent, c.percent) << c.name;
        EXPECT_DOUBLE_EQ(monitor.MemoryTotalMB, c.totalMB) << c.name;
        EXPECT_EQ(system.MemoryStatusExCalls() - exCalls, c.major >= 5 ? 1u : 0u) << c.name;
    }
}

TEST_F(ResMonitorTest, StatisticsRestartFromTheSampleAndAverageFromThere) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    system.SetMemoryStatusEx(platform::MemoryFigures{1000 * 1048576, 400 * 1048576, 0, 0});
    time.SetTick(4242);
    time.SetNow({2014, 2, 11, 9, 30, 0, 0});

    system.AddProcessorTime(0, 5 * kSecond / 8, 3 * kSecond / 8); // 37.5 %
    monitor.StartUp();
    TResStatistics s = monitor.CopyStatistics();
    EXPECT_EQ(s.Samples, 0u);
    EXPECT_EQ(s.CPUUsageMin, 37.5);
    EXPECT_EQ(s.CPUUsageAverage, 37.5);
    EXPECT_EQ(s.CPUUsageMax, 37.5);
    EXPECT_DOUBLE_EQ(s.MemoryUsageAverage, 60);
    EXPECT_DOUBLE_EQ(s.MemoryTotalMB, 1000);
    EXPECT_EQ(s.TickStarted, 4242u);
    EXPECT_EQ(s.TimeStarted, (platform::DateTime{2014, 2, 11, 9, 30, 0, 0}));

    system.AddProcessorTime(0, 7 * kSecond / 8, kSecond / 8); // 12.5 %
    system.SetMemoryStatusEx(platform::MemoryFigures{1000 * 1048576, 300 * 1048576, 0, 0});
    monitor.ProcessorSample();
    monitor.MemorySample();
    monitor.UpdateStatistics();
    s = monitor.CopyStatistics();
    EXPECT_EQ(s.Samples, 1u);
    EXPECT_EQ(s.CPUUsageMin, 12.5);
    EXPECT_EQ(s.CPUUsageAverage, 12.5);
    EXPECT_EQ(s.CPUUsageMax, 37.5);
    EXPECT_DOUBLE_EQ(s.MemoryUsageMin, 60);
    EXPECT_DOUBLE_EQ(s.MemoryUsageAverage, 70);
    EXPECT_DOUBLE_EQ(s.MemoryUsageMax, 70);

    system.AddProcessorTime(0, 0, kSecond); // 100 %
    monitor.ProcessorSample();
    monitor.UpdateStatistics();
    s = monitor.CopyStatistics();
    EXPECT_EQ(s.Samples, 2u);
    EXPECT_DOUBLE_EQ(s.CPUUsageAverage, 56.25);
    EXPECT_EQ(s.CPUUsageMax, 100);

    // A reset from the statistics window starts again from the last sample.
    time.SetTick(9000);
    monitor.ResetStatistics();
    s = monitor.CopyStatistics();
    EXPECT_EQ(s.Samples, 0u);
    EXPECT_EQ(s.CPUUsageMin, 100);
    EXPECT_EQ(s.CPUUsageMax, 100);
    EXPECT_DOUBLE_EQ(s.MemoryUsageMin, 70);
    EXPECT_EQ(s.TickStarted, 9000u);
}

TEST_F(ResMonitorTest, CycleSleepsWhatIsLeftOfTheRate) {
    const struct {
        std::uint16_t rate;
        std::uint32_t start, cycle, sleep;
    } cases[] = {
        {500, 1000, 30, 470},
        {500, 1000, 600, 10},
        {5000, 1000, 0, 2000},
        {500, 0xFFFFFFF0, 30, 470}, // across the tick count's wrap
    };
    UseKernelTimes(2);
    for (const auto& c : cases) {
        CpuUsageCounters counters;
        counters.RefreshCounters();
        TResMonitor monitor(
            link, [&](const TResMonitor&) { ++displays; }, counters);
        monitor.StartUp();
        const testing::ScopedSetting<std::uint16_t> rateSetting(config::Rate, c.rate);
        time.SetTick(c.start);
        time.SetTickStep(c.cycle);
        const std::size_t sleeps = time.SleepCount();
        EXPECT_TRUE(monitor.RunCycle());
        time.SetTickStep(0);
        ASSERT_EQ(time.SleepCount(), sleeps + 1);
        EXPECT_EQ(time.Sleeps().back(), c.sleep) << c.rate << " " << c.cycle;
    }
    EXPECT_EQ(displays, 4);
}

TEST_F(ResMonitorTest, CycleWithoutMemoryDisplayKeepsTheLastMemoryFigures) {
    UseKernelTimes(1);
    system.SetMemoryStatusEx(platform::MemoryFigures{1000 * 1048576, 400 * 1048576, 0, 0});
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters);
    monitor.StartUp();
    const testing::ScopedSetting<bool> hidden(config::DisplayMemory, false);
    system.SetMemoryStatusEx(platform::MemoryFigures{1000 * 1048576, 100 * 1048576, 0, 0});
    const std::size_t calls = system.MemoryStatusExCalls();
    monitor.RunCycle();
    EXPECT_EQ(system.MemoryStatusExCalls(), calls);
    EXPECT_DOUBLE_EQ(monitor.MemoryUsagePercent, 60);
    // The statistics still count the last memory figure.
    EXPECT_DOUBLE_EQ(monitor.CopyStatistics().MemoryUsageAverage, 60);
}

TEST_F(ResMonitorTest, TerminatedDuringTheDisplayStepEndsWithoutSleeping) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor* self = nullptr;
    TResMonitor monitor(
        link, [&](const TResMonitor&) { self->Terminate(); }, counters);
    self = &monitor;
    monitor.StartUp();
    time.SetTick(1000); // long after the first sample: the cycle does not wait for its interval
    const std::size_t sleeps = time.SleepCount();
    EXPECT_FALSE(monitor.RunCycle());
    EXPECT_EQ(time.SleepCount(), sleeps);
}

// One processor, busy half of the time, as the kernel reports it at the scripted tick count; every
// reading's tick is kept.
class HalfBusyProcessor final : public platform::System {
public:
    HalfBusyProcessor(platform::System& rest, fakes::ScriptedTime& time) : rest_(rest), time_(time) {}
    bool GetVersion(platform::OsVersion& version) override { return rest_.GetVersion(version); }
    bool GlobalMemoryStatusEx(platform::MemoryFigures& figures) override {
        return rest_.GlobalMemoryStatusEx(figures);
    }
    void GlobalMemoryStatus(platform::MemoryFigures& figures) override { rest_.GlobalMemoryStatus(figures); }
    std::size_t ProcessorTimes(std::span<platform::ProcessorTime> times) override {
        const std::uint32_t tick = time_.TickCount();
        reads.push_back(tick);
        // 100-ns units: half of every millisecond idle (kernel time includes it), half busy.
        const std::int64_t half = std::int64_t{tick} * 5000;
        if (!times.empty()) {
            times[0] = {half, half, half};
        }
        return 1;
    }

    std::vector<std::uint32_t> reads;

private:
    platform::System& rest_;
    fakes::ScriptedTime& time_;
};

TEST_F(ResMonitorTest, FirstFiguresCoverARealIntervalAfterTheSnapshot) {
    HalfBusyProcessor processor(system, time);
    const platform::ScopedSeam<platform::System> seam(processor);
    registry.SetBlock(BuildPerfBlock({}).bytes);
    time.SetAdvanceOnSleep(true);
    time.SetTick(5000);
    CpuUsageCounters counters;
    counters.RefreshCounters(); // the start sequence's snapshot, taken before the sampler runs
    double firstPoint = -1;
    TResMonitor monitor(
        link, [&](const TResMonitor& sample) { firstPoint = sample.CPUUsageTotal; }, counters);
    monitor.StartUp();
    const double seed = monitor.CopyStatistics().CPUUsageMin;
    monitor.RunCycle();
    ASSERT_EQ(processor.reads.size(), 3u);
    EXPECT_GE(processor.reads[1] - processor.reads[0], kFirstSampleIntervalMs) << "the statistics' seed";
    EXPECT_GE(processor.reads[2] - processor.reads[1], kFirstSampleIntervalMs) << "the first point";
    EXPECT_DOUBLE_EQ(seed, 50);
    EXPECT_DOUBLE_EQ(firstPoint, 50);
}

class ClockTest : public testing::SamplingFixture {
protected:
    // Runs the clock thread until it has slept `sleeps` times, then frees it.
    void RunClock(std::size_t sleeps) {
        fakes::FakeUiLink link;
        time.SetRealSleep(true);
        {
            TCPUSpeed clock(link);
            clock.Resume();
            ASSERT_TRUE(ServeUntil(link, [&] { return time.SleepCount() >= sleeps; }));
        }
        posted = link.PostedMessages();
    }

    std::vector<fakes::FakeUiLink::Posted> posted;
};

TEST_F(ClockTest, MeasurementRunsAtRealTimePriorityAndRestoresIt) {
    fakes::FakeUiLink link;
    threads.SetInitial(-1, 0x8000);
    cpu.SetTimeStampCounter(1000, 1'500'000'000);
    TCPUSpeed clock(link);
    EXPECT_EQ(clock.Speed, -1);
    clock.Measure();
    EXPECT_EQ(clock.Speed, 3000);
    using Call = RecordingThreads::Call;
    EXPECT_EQ(threads.Events(),
              (std::vector<RecordingThreads::Event>{{Call::SetProcessPriorityClass, 0x100},
                                                    {Call::SetThreadPriority, 15},
                                                    {Call::SetThreadPriority, -1},
                                                    {Call::SetProcessPriorityClass, 0x8000}}));
    EXPECT_EQ(time.Sleeps(), (std::vector<std::uint32_t>{10, 500}));
}

TEST_F(ClockTest, WithUpdateSpeedOffTheClockIsPostedOnce) {
    const testing::ScopedSetting<bool> once(config::UpdateSpeed, false);
    cpu.SetTimeStampCounter(0, 1'197'250'000);
    RunClock(40);
    EXPECT_EQ(posted, (std::vector<fakes::FakeUiLink::Posted>{{WM_CPU_SPEED, 2394, 0}}));
    ASSERT_FALSE(threads.Events().empty());
    EXPECT_EQ(threads.Events().front(),
              (RecordingThreads::Event{RecordingThreads::Call::SetThreadAffinity, 1}));
}

TEST_F(ClockTest, WithUpdateSpeedOnTheClockIsPostedEveryPass) {
    RunClock(12);
    ASSERT_GE(posted.size(), 3u);
    EXPECT_EQ(posted[0], (fakes::FakeUiLink::Posted{WM_CPU_SPEED, 3000, 0}));
    EXPECT_EQ(posted[1], (fakes::FakeUiLink::Posted{WM_CPU_SPEED, 3000, 0}));
}

TEST_F(ClockTest, InTrayModeNothingIsMeasuredOrPosted) {
    const testing::ScopedSetting<bool> tray(config::AppTrayMode, true);
    const testing::ScopedSetting<bool> once(config::UpdateSpeed, false);
    system.SetWindowsNt(4);
    RunClock(20);
    EXPECT_TRUE(posted.empty());
    // Before Windows 2000 the affinity is left alone, and no measurement changed a priority.
    EXPECT_TRUE(threads.Events().empty());
}

// --- start and stop sequences ---

class SequenceTest : public testing::SamplingFixture {
protected:
    SequenceTest() { time.SetRealSleep(true); }

    fakes::FakeUiLink link;
    SamplingThreads sampling;
    std::atomic<int> displays{0};
};

TEST_F(SequenceTest, StoppingWhileADisplayStepIsPendingFinishes) {
    UseKernelTimes(2);
    CpuUsageCounters counters;
    std::int32_t cpuCount = 0;
    const std::wstring error = StartSampling(
        sampling, link,
        [&](const TResMonitor& monitor) {
            ++displays;
            cpuCount = monitor.CPUCount;
            // The statistics lock is free while the sampler waits here.
            EXPECT_EQ(ActiveResMonitor()->CopyStatistics().Samples, monitor.Statistics.Samples);
        },
        [] {}, counters);
    ASSERT_EQ(error, L"");
    EXPECT_EQ(ActiveResMonitor(), sampling.ResMonitor.get());
    // The sampler is now blocked in its first display step.
    ASSERT_TRUE(link.WaitForPending(5s));
    StopSampling(sampling);
    EXPECT_EQ(displays.load(), 1) << "the pending step ran, and none after the stop";
    EXPECT_EQ(cpuCount, 2);
    EXPECT_EQ(sampling.ResMonitor, nullptr);
    EXPECT_EQ(sampling.CPUSpeed, nullptr);
    EXPECT_EQ(ActiveResMonitor(), nullptr);
}

TEST_F(SequenceTest, CounterCheckRunsAfterTheClockStartsAndBeforeTheFirstSnapshot) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    bool checked = false;
    const std::wstring error = StartSampling(
        sampling, link, [&](const TResMonitor&) { ++displays; },
        [&] {
            checked = true;
            EXPECT_NE(sampling.CPUSpeed, nullptr);
            EXPECT_NE(sampling.ResMonitor, nullptr);
            EXPECT_EQ(registry.Queries(), 0u);
        },
        counters);
    EXPECT_EQ(error, L"");
    EXPECT_TRUE(checked);
    EXPECT_TRUE(ServeUntil(link, [&] { return displays.load() >= 3; }));
    StopSampling(sampling);
}

TEST_F(SequenceTest, FailedFirstSnapshotReturnsItsMessageAndLeavesTheSamplerSuspended) {
    registry.SetBlock(BuildPerfBlock({}).bytes); // no processor object, no kernel times
    CpuUsageCounters counters;
    const std::wstring error = StartSampling(
        sampling, link, [&](const TResMonitor&) { ++displays; }, [] {}, counters);
    EXPECT_EQ(error, L"Unable to locate the \"Processor\" performance object");
    EXPECT_EQ(ActiveResMonitor(), nullptr);
    // The clock keeps working.
    EXPECT_TRUE(ServeUntil(link, [&] { return !link.PostedMessages().empty(); }));
    StopSampling(sampling);
    EXPECT_EQ(displays.load(), 0);
}

TEST_F(SequenceTest, ExceptionInTheDisplayStepEndsTheSamplerQuietly) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    const std::wstring error = StartSampling(
        sampling, link,
        [&](const TResMonitor&) {
            ++displays;
            throw std::runtime_error("display failed");
        },
        [] {}, counters);
    ASSERT_EQ(error, L"");
    EXPECT_TRUE(ServeUntil(link, [&] { return sampling.ResMonitor->Finished(); }));
    link.ServeFor(20ms);
    EXPECT_EQ(displays.load(), 1);
    StopSampling(sampling);
}

TEST_F(SequenceTest, CounterErrorInTheCycleEndsTheSamplerQuietly) {
    UseKernelTimes(2);
    CpuUsageCounters counters;
    const std::wstring error = StartSampling(
        sampling, link, [&](const TResMonitor&) { ++displays; }, [] {}, counters);
    ASSERT_EQ(error, L"");
    EXPECT_TRUE(ServeUntil(link, [&] { return displays.load() >= 2; }));
    system.SetProcessorTimes({});
    EXPECT_TRUE(ServeUntil(link, [&] { return sampling.ResMonitor->Finished(); }));
    StopSampling(sampling);
}

TEST(TThreadFree, ThreadNeverResumedEndsWithoutRunningItsBody) {
    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    const platform::ScopedSeam<platform::System> systemSeam(system);
    const platform::ScopedSeam<platform::Registry> registrySeam(registry);
    fakes::FakeUiLink link;
    CpuUsageCounters counters;
    int displays = 0;
    {
        TResMonitor monitor(
            link, [&](const TResMonitor&) { ++displays; }, counters);
        monitor.Free();
        EXPECT_TRUE(monitor.Finished());
    }
    EXPECT_EQ(displays, 0);
    EXPECT_EQ(registry.Queries(), 0u);
}

} // namespace
} // namespace quelmo
