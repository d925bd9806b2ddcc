#include "AllocationCounter.h"
#include "SamplingFixture.h"
#include "sampling/MyThreads.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using fakes::BuildPerfBlock;
using fakes::ProcessorObjectLayout;

class SamplingAllocationTest : public testing::SamplingFixture {
protected:
    // Allocations made by `cycles` sampling cycles after a warm-up, on this thread (which plays the
    // user-interface thread too, so the display step runs inline).
    std::size_t AllocationsOfCycles(CpuUsageCounters& counters, int cycles) {
        fakes::FakeUiLink link;
        double shown = 0;
        TResMonitor monitor(
            link, [&](const TResMonitor& m) { shown += m.CPUUsageTotal; }, counters);
        monitor.StartUp();
        for (int i = 0; i < 3; ++i) {
            monitor.RunCycle();
        }
        std::size_t allocations = 0;
        for (int i = 0; i < cycles; ++i) {
            Advance();
            const std::size_t before = testing::AllocationsOnThisThread();
            monitor.RunCycle();
            allocations += testing::AllocationsOnThisThread() - before;
        }
        EXPECT_GT(shown, 0) << "the cycles ran their display step";
        return allocations;
    }

    // Moves every source on (outside the counted region): the next prepared performance-data
    // block and new processor times.
    void Advance() {
        ++step_;
        registry.SetBlock(blocks_[step_ % blocks_.size()]);
        system.AddProcessorTime(0, kSecond / 3, 2 * kSecond / 3);
        system.AddProcessorTime(1, kSecond / 2, kSecond / 2);
    }

    std::vector<std::vector<std::byte>> blocks_;
    std::size_t step_ = 0;
};

TEST_F(SamplingAllocationTest, SteadyStateCycleAllocatesNothing) {
    system.SetWindowsNt(6, 1);
    system.SetProcessorTimes(std::vector<platform::ProcessorTime>(2));
    for (std::uint16_t s = 0; s < 4; ++s) {
        fakes::PerfSystemTime stamp;
        stamp.second = s;
        blocks_.push_back(
            BuildPerfBlock({ProcessorObjectLayout({s * kSecond / 2, s * kSecond / 3, s * kSecond / 4, 0, 0})},
                           stamp)
                .bytes);
    }
    const struct {
        const char* name;
        bool kernelTimes;
    } cases[] = {{"performance data", false}, {"kernel processor times", true}};
    for (const auto& c : cases) {
        registry.SetBlock(c.kernelTimes ? BuildPerfBlock({}).bytes : blocks_[0]);
        if (c.kernelTimes) {
            // Once switched, later blocks are never looked at.
            for (auto& block : blocks_) {
                block = BuildPerfBlock({}).bytes;
            }
        }
        CpuUsageCounters counters;
        counters.RefreshCounters();
        ASSERT_EQ(counters.UsesKernelTimes(), c.kernelTimes);
        EXPECT_EQ(AllocationsOfCycles(counters, 20), 0u) << c.name;
    }
}

TEST_F(SamplingAllocationTest, TheCounterDetectsAnAllocation) {
    const std::size_t before = testing::AllocationsOnThisThread();
    auto* value = new int(5);
    EXPECT_EQ(testing::AllocationsOnThisThread() - before, 1u);
    delete value;
}

} // namespace
} // namespace quelmo
