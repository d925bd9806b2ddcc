// The clock measurement, the division test and the information pages in the 32-bit product
// build, on the real processor under Wine (or Windows).
#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuSerial.h"
#include "ui/InfoPages.h"
#include "unit/CpuidTestSupport.h"
#include "unit/KernelClock.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

namespace quelmo {
namespace {

TEST(Win32Clock, MeasuredClockIsWithinFivePercentOfTheKernelsFigure) {
    // Under Wine the kernel's files are reached through drive Z:.
    const auto kernel = testing::KernelTscMhz("Z:");
    if (!kernel) {
        GTEST_SKIP() << "no kernel figure for the time-stamp counter's rate (not under Wine on Linux?)";
    }
    RestartCpuLibrary();
    const auto speed = CpuRoot().Processors(0)->Speed();
    EXPECT_NEAR(speed->RawSpeed()->Value(), *kernel, *kernel * 0.05) << "kernel: " << *kernel << " MHz";
}

TEST(Win32Clock, TheCallersPriorityIsLeftAlone) {
    const int before = ::GetThreadPriority(::GetCurrentThread());
    const TCpuSpeedThread thread;
    EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), before);
}

TEST(Win32Errata, TheDivisionIsCorrectOnTheX87Unit) {
    // The 32-bit build divides on the x87 unit; the volatile operands keep it from being folded.
    EXPECT_FALSE(DivisionFlawPresent());
}

TEST(Win32InfoPages, RecordedSerialAndPages) {
    testing::RecordedProcessor recorded("intel-pentium-iii-katmai-psn.txt");
    EXPECT_EQ(recorded.Processor()->Serial()->AsString(), "0000-0000-0000-D043-8EF1-8AEE");
    EXPECT_EQ(ui::BuildPropertyRows(30)[0].value, "x86 Family 6 Model 7 Stepping 3");
    EXPECT_EQ(ui::BuildFeatureList(1).label, "Available Features (30):");
    EXPECT_EQ(ui::BuildFeatureList(3).label, "Feature Set Unavailable.");
}

} // namespace
} // namespace quelmo
