// The native kernel figures behind the System seam (used by the native tools and benchmarks).
#include "platform/System.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace quelmo {
namespace {

TEST(PosixSystem, ProcessorTimesPerProcessorWithIdleInsideKernelTime) {
    auto& system = platform::Seam<platform::System>::Default();
    std::vector<platform::ProcessorTime> times(64);
    const std::size_t count = system.ProcessorTimes(times);
    ASSERT_GE(count, 1u);
    EXPECT_EQ(count, std::min<std::size_t>(std::thread::hardware_concurrency(), 64));
    for (std::size_t i = 0; i < std::min(count, times.size()); ++i) {
        EXPECT_GE(times[i].kernel, times[i].idle) << i;
        EXPECT_GT(times[i].kernel + times[i].user, 0) << i;
    }
    platform::MemoryFigures memory;
    ASSERT_TRUE(system.GlobalMemoryStatusEx(memory));
    EXPECT_GT(memory.totalPhys, 0);
    EXPECT_LE(memory.availPhys, memory.totalPhys);
}

} // namespace
} // namespace quelmo
