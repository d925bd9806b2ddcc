// The clock of the machine the tests run on, measured through the real seams, against the
// kernel's figure for the time-stamp counter. One measurement (200 ms).
#include "KernelClock.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuSerial.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelmo {
namespace {

TEST(LiveClock, MeasuredClockIsWithinFivePercentOfTheKernelsFigure) {
#if !defined(__i386__) && !defined(__x86_64__)
    GTEST_SKIP() << "not an x86 processor";
#endif
    const auto kernel = testing::KernelTscMhz();
    if (!kernel) {
        GTEST_SKIP() << "the kernel gives no figure for the time-stamp counter's rate";
    }
    RestartCpuLibrary();
    const auto speed = CpuRoot().Processors(0)->Speed();
    const double raw = speed->RawSpeed()->Value();
    EXPECT_NEAR(raw, *kernel, *kernel * 0.05) << "kernel: " << *kernel << " MHz";
    // Normalising moves the figure by 8 MHz at most (half the widest gap, 33 to 50).
    EXPECT_LE(std::abs(static_cast<double>(speed->NormalizedSpeed()->Value()) - raw), 8.0);
}

TEST(LiveErrata, TheDivisionIsCorrect) {
    EXPECT_FALSE(DivisionFlawPresent());
    EXPECT_FALSE(CpuRoot().Processors(0)->Errata()->FDivError()->Value());
}

} // namespace
} // namespace quelmo
