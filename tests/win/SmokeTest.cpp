#include "platform/Time.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

TEST(Win32Time, PerformanceCounterAdvancesAcrossSleep) {
    auto& time = platform::TheTime();
    const auto before = time.PerformanceCounter();
    time.Sleep(20);
    EXPECT_GT(time.PerformanceCounter(), before);
    EXPECT_GT(time.PerformanceFrequency(), 0);
    EXPECT_GE(time.LocalNow().year, 2000);
}

} // namespace
} // namespace quelmo
