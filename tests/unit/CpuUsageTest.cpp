#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "fakes/PerfDataRegistry.h"
#include "platform/Seam.h"
#include "sampling/CpuUsage.h"
#include "sampling/SamplingTexts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using fakes::BuildPerfBlock;
using fakes::PerfSystemTime;
using fakes::ProcessorObjectLayout;
using platform::ProcessorTime;

constexpr std::int64_t kSecond = 10'000'000; // 100-ns units

std::vector<std::byte> Block(std::vector<std::int64_t> idle, std::uint16_t second = 0, std::uint16_t ms = 0) {
    PerfSystemTime time;
    time.second = second;
    time.millisecond = ms;
    return BuildPerfBlock({fakes::OtherObjectLayout(2, {1}), ProcessorObjectLayout(std::move(idle))}, time)
        .bytes;
}

// The message of the ECpuUsage that `action` raises, or "" when it raises none.
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECpuUsage& error) {
        return error.what();
    }
    return "";
}

std::vector<double> Usages(CpuUsageCounters& counters) {
    std::vector<double> usages;
    for (std::int32_t i = 0; i < counters.CounterCount(); ++i) {
        usages.push_back(counters.CounterUsage(i));
    }
    return usages;
}

class CpuUsageTest : public ::testing::Test {
protected:
    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    platform::ScopedSeam<platform::System> systemSeam{system};
    platform::ScopedSeam<platform::Registry> registrySeam{registry};
};

TEST_F(CpuUsageTest, BusyFractionIsOneMinusIdleOverElapsedTime) {
    CpuUsageCounters counters;
    registry.SetBlock(Block({0, 0, 0}, 0));
    counters.RefreshCounters();
    EXPECT_EQ(counters.CounterCount(), 3);
    // Idle for a quarter, all and none of the one second that passed.
    registry.SetBlock(Block({kSecond / 4, kSecond, 0}, 1));
    counters.RefreshCounters();
    const std::vector<double> usages = Usages(counters);
    ASSERT_EQ(usages.size(), 3u);
    EXPECT_DOUBLE_EQ(usages[0], 0.75);
    EXPECT_DOUBLE_EQ(usages[1], 0.0);
    EXPECT_DOUBLE_EQ(usages[2], 1.0);
    // Jitter is passed on unclamped: 1.3 s idle in a second.
    registry.SetBlock(Block({kSecond / 4 + 13 * kSecond / 10, kSecond, 0}, 2));
    counters.RefreshCounters();
    EXPECT_NEAR(counters.CounterUsage(0), -0.3, 1e-12);
}

TEST_F(CpuUsageTest, UsageIsZeroWhenTimeDidNotMoveForward) {
    const struct {
        const char* name;
        PerfSystemTime later;
    } cases[] = {
        {"same SystemTime", {2014, 2, 11, 12, 0, 5, 0}},
        {"clock set back", {2014, 2, 11, 11, 0, 0, 0}},
        {"SystemTime the system would reject", {2014, 2, 30, 12, 0, 6, 0}},
    };
    for (const auto& c : cases) {
        CpuUsageCounters counters;
        PerfSystemTime first;
        first.second = 5;
        registry.SetBlock(BuildPerfBlock({ProcessorObjectLayout({0, 0})}, first).bytes);
        counters.RefreshCounters();
        registry.SetBlock(BuildPerfBlock({ProcessorObjectLayout({kSecond / 2, 3})}, c.later).bytes);
        counters.RefreshCounters();
        EXPECT_EQ(Usages(counters), (std::vector<double>{0.0, 0.0})) << c.name;
    }
}

TEST_F(CpuUsageTest, OneSnapshotGivesNoUsageYet) {
    CpuUsageCounters counters;
    registry.SetBlock(Block({5 * kSecond, 0}, 9));
    // The first question takes the first snapshot; there is no interval yet.
    EXPECT_EQ(counters.CounterUsage(1), 0.0);
    EXPECT_EQ(registry.Queries(), 1u);
}

TEST_F(CpuUsageTest, BufferGrowsBy4096UntilTheBlockFitsAndKeepsItsSize) {
    CpuUsageCounters counters;
    registry.SetBlock(Block({0, 0}));
    registry.RequireSize(15000);
    counters.RefreshCounters();
    EXPECT_EQ(registry.RequestedSizes(), (std::vector<std::uint32_t>{8192, 12288, 16384}));
    EXPECT_EQ(counters.BufferSize(), 16384u);
    counters.RefreshCounters();
    EXPECT_EQ(registry.RequestedSizes().back(), 16384u);
    EXPECT_EQ(registry.Queries(), 4u);
}

TEST_F(CpuUsageTest, EndlessMoreDataStopsAtTheCapWithTheProcessorError) {
    CpuUsageCounters counters;
    registry.SetBlock(Block({0, 0}));
    registry.RequireSize(std::size_t{1} << 30);
    EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), texts::kNoProcessorObject);
    EXPECT_LE(counters.BufferSize(), CpuUsageCounters::kMaxBufferSize);
}

TEST_F(CpuUsageTest, FailedQueryOnTheFreshBufferRaisesTheProcessorError) {
    CpuUsageCounters counters;
    registry.FailQueries(platform::kErrorAccessDenied);
    EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), texts::kNoProcessorObject);
}

TEST_F(CpuUsageTest, InstanceWalkKeepsTheFirstSnapshotsCount) {
    CpuUsageCounters counters;
    registry.SetBlock(Block({0, 0, 0}, 0));
    counters.RefreshCounters();
    // Five instances now: only the first three are read.
    registry.SetBlock(Block({kSecond / 2, 0, kSecond, 0, 0}, 1));
    counters.RefreshCounters();
    EXPECT_EQ(counters.CounterCount(), 3);
    EXPECT_EQ(Usages(counters), (std::vector<double>{0.5, 1.0, 0.0}));
    EXPECT_EQ(ErrorOf([&] { counters.CounterUsage(3); }), texts::kCpuIndexOutOfBounds);
    // Two instances: the walk of three does not fit, and nothing changes.
    registry.SetBlock(Block({kSecond, kSecond}, 2));
    EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), texts::kNoProcessorObject);
    EXPECT_EQ(Usages(counters), (std::vector<double>{0.5, 1.0, 0.0}));
}

TEST_F(CpuUsageTest, MalformedLaterBlockRaisesAndLeavesTheStateAlone) {
    const struct {
        const char* name;
        std::function<void(fakes::PerfBlock&)> patch;
        const char* message;
    } cases[] = {
        {"no processor object", [](fakes::PerfBlock& b) { fakes::PutU32(b.bytes, b.objects[1] + 12, 230); },
         texts::kNoProcessorObject},
        {"no idle counter", [](fakes::PerfBlock& b) { fakes::PutU32(b.bytes, b.objects[1] + 64 + 4, 7); },
         texts::kNoIdleCounter},
        {"counter block past the end",
         [](fakes::PerfBlock& b) { fakes::PutU32(b.bytes, b.instances[1][1] + 32, 0xFFFF); },
         texts::kNoIdleCounter},
        {"truncated", [](fakes::PerfBlock& b) { b.bytes.resize(b.bytes.size() / 2); },
         texts::kNoProcessorObject},
    };
    for (const auto& c : cases) {
        CpuUsageCounters counters;
        registry.SetBlock(Block({0, 0}, 0));
        counters.RefreshCounters();
        registry.SetBlock(Block({kSecond / 4, kSecond / 2}, 1));
        counters.RefreshCounters();
        fakes::PerfBlock bad =
            BuildPerfBlock({fakes::OtherObjectLayout(2, {1}), ProcessorObjectLayout({kSecond, kSecond})}, {});
        c.patch(bad);
        registry.SetBlock(bad.bytes);
        EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), c.message) << c.name;
        EXPECT_EQ(Usages(counters), (std::vector<double>{0.75, 0.5})) << c.name;
        // A good block afterwards continues from the last good snapshot.
        registry.SetBlock(Block({kSecond / 4, kSecond}, 2));
        counters.RefreshCounters();
        EXPECT_EQ(Usages(counters), (std::vector<double>{1.0, 0.5})) << c.name;
    }
}

TEST_F(CpuUsageTest, FirstSnapshotErrors) {
    const struct {
        const char* name;
        std::vector<std::byte> block;
        const char* message;
    } cases[] = {
        {"no processor object", BuildPerfBlock({fakes::OtherObjectLayout(2, {1})}).bytes,
         texts::kNoProcessorObject},
        {"empty block", BuildPerfBlock({}).bytes, texts::kNoProcessorObject},
        {"processor object without instances", BuildPerfBlock({ProcessorObjectLayout({})}).bytes,
         texts::kNoProcessorObject},
        {"no idle counter", BuildPerfBlock({ProcessorObjectLayout({1, 2}, {2, 3})}).bytes,
         texts::kNoIdleCounter},
    };
    for (const auto& c : cases) {
        CpuUsageCounters counters;
        registry.SetBlock(c.block);
        EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), c.message) << c.name;
        // Still no count: the next question tries again.
        registry.SetBlock(Block({0, 0, 0, 0}));
        EXPECT_EQ(counters.CounterCount(), 4) << c.name;
    }
}

TEST_F(CpuUsageTest, IndexOutsideTheCountedInstancesIsRejected) {
    const struct {
        bool nt;
        std::int32_t index;
        bool valid;
    } cases[] = {
        {true, -1, false},        {true, 0, true},    {true, 2, true},  {true, 3, false},
        {true, INT32_MIN, false}, {false, -1, false}, {false, 0, true}, {false, 1, false},
    };
    registry.AddDynKey(L"PerfStats\\StartStat");
    registry.AddDynKey(L"PerfStats\\StatData");
    for (const auto& c : cases) {
        if (c.nt) {
            system.SetWindowsNt(5);
        } else {
            system.SetWindows9x();
        }
        CpuUsageCounters counters;
        registry.SetBlock(Block({0, 0, 0}));
        const std::string error = ErrorOf([&] { counters.CounterUsage(c.index); });
        EXPECT_EQ(error, c.valid ? "" : texts::kCpuIndexOutOfBounds) << c.nt << " " << c.index;
    }
}

TEST_F(CpuUsageTest, Windows9xReadsTheKernelPercentage) {
    system.SetWindows9x();
    registry.AddDynKey(L"PerfStats\\StartStat");
    registry.AddDynKey(L"PerfStats\\StatData");
    registry.AddDynKey(L"PerfStats\\StopStat");
    registry.SetCpuUsage9x(37);
    {
        CpuUsageCounters counters;
        EXPECT_FALSE(counters.IsNT());
        EXPECT_EQ(counters.CounterCount(), 1);
        EXPECT_DOUBLE_EQ(counters.CounterUsage(0), 0.37);
        registry.SetCpuUsage9x(100);
        counters.RefreshCounters();
        EXPECT_DOUBLE_EQ(counters.CounterUsage(0), 1.0);
        EXPECT_EQ(registry.Queries(), 0u) << "no performance data on 9x";
        EXPECT_EQ(registry.Log(), (std::vector<std::wstring>{
                                      L"open PerfStats\\StartStat",
                                      L"query KERNEL\\CPUUsage in PerfStats\\StartStat",
                                      L"close PerfStats\\StartStat",
                                      L"open PerfStats\\StatData",
                                      L"query KERNEL\\CPUUsage in PerfStats\\StatData",
                                      L"query KERNEL\\CPUUsage in PerfStats\\StatData",
                                  }));
    }
    // Finalisation stops the statistics.
    const std::vector<std::wstring> log = registry.Log();
    EXPECT_EQ(std::vector<std::wstring>(log.begin() + 6, log.end()),
              (std::vector<std::wstring>{L"close PerfStats\\StatData", L"open PerfStats\\StopStat",
                                         L"query KERNEL\\CPUUsage in PerfStats\\StopStat",
                                         L"close PerfStats\\StopStat"}));
    EXPECT_EQ(registry.OpenKeys(), 0u);
}

TEST_F(CpuUsageTest, Windows9xStartErrors) {
    system.SetWindows9x();
    const struct {
        std::vector<std::wstring> keys;
        const char* message;
    } cases[] = {
        {{}, texts::kCannotStartMonitoring},
        {{L"PerfStats\\StatData"}, texts::kCannotStartMonitoring},
        {{L"PerfStats\\StartStat"}, texts::kCannotReadPerformanceData},
    };
    for (const auto& c : cases) {
        fakes::PerfDataRegistry keys;
        const platform::ScopedSeam<platform::Registry> seam(keys);
        for (const auto& key : c.keys) {
            keys.AddDynKey(key);
        }
        CpuUsageCounters counters;
        EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), c.message);
        EXPECT_EQ(keys.OpenKeys(), 0u) << "no key left open";
    }
}

TEST_F(CpuUsageTest, MissingVersionStopsTheModule) {
    system.SetVersion(std::nullopt);
    EXPECT_EQ(ErrorOf([] { CpuUsageCounters counters; }), texts::kNoWindowsVersion);
}

TEST_F(CpuUsageTest, PerformanceDataKeyIsClosedAtFinalisation) {
    {
        CpuUsageCounters counters;
        registry.SetBlock(Block({0}));
        counters.RefreshCounters();
    }
    EXPECT_EQ(registry.PerformanceDataCloses(), 1u);
}

// --- the kernel's per-processor times, when the performance data has no processor object ---

TEST_F(CpuUsageTest, EmptyPerformanceDataSwitchesToTheKernelsProcessorTimes) {
    registry.SetBlock(BuildPerfBlock({}).bytes);
    system.SetProcessorTimes({{0, 0, 0}, {0, 0, 0}});
    CpuUsageCounters counters;
    counters.RefreshCounters();
    EXPECT_TRUE(counters.UsesKernelTimes());
    ASSERT_EQ(counters.CounterCount(), 3) << "two processors and their sum";

    system.AddProcessorTime(0, kSecond / 4, 3 * kSecond / 4);
    system.AddProcessorTime(1, kSecond, 0);
    counters.RefreshCounters();
    const std::vector<double> usages = Usages(counters);
    EXPECT_DOUBLE_EQ(usages[0], 0.75);
    EXPECT_DOUBLE_EQ(usages[1], 0.0);
    EXPECT_DOUBLE_EQ(usages[2], 0.375);

    // The performance data is never asked again.
    for (int i = 0; i < 5; ++i) {
        counters.RefreshCounters();
    }
    EXPECT_EQ(registry.Queries(), 1u);
    EXPECT_EQ(system.ProcessorTimesCalls(), 7u);
}

TEST_F(CpuUsageTest, KernelTimesGuardAgainstNoTimeAndTimesGoingBack) {
    registry.SetBlock(BuildPerfBlock({}).bytes);
    system.SetProcessorTimes({{5 * kSecond, 8 * kSecond, kSecond}, {kSecond, 2 * kSecond, kSecond}});
    CpuUsageCounters counters;
    counters.RefreshCounters();
    // Processor 0 did not move; processor 1's idle time went back.
    system.SetProcessorTimes({{5 * kSecond, 8 * kSecond, kSecond}, {0, 3 * kSecond, kSecond}});
    counters.RefreshCounters();
    EXPECT_EQ(counters.CounterUsage(0), 0.0);
    EXPECT_EQ(counters.CounterUsage(1), 0.0);
}

TEST_F(CpuUsageTest, KernelTimesWithFewerProcessorsLaterRaiseAndChangeNothing) {
    registry.SetBlock(BuildPerfBlock({}).bytes);
    system.SetProcessorTimes({{0, 0, 0}, {0, 0, 0}});
    CpuUsageCounters counters;
    counters.RefreshCounters();
    system.AddProcessorTime(0, kSecond / 2, kSecond / 2);
    system.AddProcessorTime(1, kSecond / 2, kSecond / 2);
    counters.RefreshCounters();
    system.SetProcessorTimes({{kSecond, kSecond, kSecond}});
    EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), texts::kNoProcessorObject);
    EXPECT_EQ(Usages(counters), (std::vector<double>{0.5, 0.5, 0.5}));
}

TEST_F(CpuUsageTest, ProcessorObjectPresentKeepsThePerformanceData) {
    system.SetProcessorTimes({{0, 0, 0}});
    registry.SetBlock(Block({0, 0}));
    CpuUsageCounters counters;
    counters.RefreshCounters();
    counters.RefreshCounters();
    EXPECT_FALSE(counters.UsesKernelTimes());
    EXPECT_EQ(counters.CounterCount(), 2);
    EXPECT_EQ(registry.Queries(), 2u);
    EXPECT_EQ(system.ProcessorTimesCalls(), 0u);
}

TEST_F(CpuUsageTest, NeitherSourceRaisesTheProcessorError) {
    registry.SetBlock(BuildPerfBlock({}).bytes);
    CpuUsageCounters counters;
    EXPECT_EQ(ErrorOf([&] { counters.RefreshCounters(); }), texts::kNoProcessorObject);
    EXPECT_FALSE(counters.UsesKernelTimes());
}

TEST_F(CpuUsageTest, KernelTimesCoverUpTo64Processors) {
    registry.SetBlock(BuildPerfBlock({}).bytes);
    system.SetProcessorTimes(std::vector<ProcessorTime>(80));
    CpuUsageCounters counters;
    EXPECT_EQ(counters.CounterCount(), 65);
}

} // namespace
} // namespace quelmo
