// The processor seam's Win32 implementation and the library on the real processor, under Wine
// or Windows.
#include "cpuid/CpuLibrary.h"
#include "platform/Cpu.h"
#include "unit/CpuidTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace quelmo {
namespace {

DWORD_PTR CurrentProcessMask() {
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    ::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &systemMask);
    return processMask;
}

class Win32Processor : public ::testing::Test {
protected:
    void SetUp() override { RestartCpuLibrary(); }
    void TearDown() override {
        platform::TheCpu().LookUpAffinitySetter("KERNEL32.DLL", "SetProcessAffinityMask");
        RestartCpuLibrary();
    }
};

TEST_F(Win32Processor, CountIsTheSystemsProcessorCount) {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    EXPECT_EQ(platform::TheCpu().ProcessorCount(), info.dwNumberOfProcessors);
    EXPECT_EQ(CpuRoot().ProcessorCount()->Available()->Value(), info.dwNumberOfProcessors);
    EXPECT_EQ(CpuRoot().Multiprocessor(), info.dwNumberOfProcessors > 1);
}

TEST_F(Win32Processor, AffinitySetterIsLookedUpByName) {
    auto& cpu = platform::TheCpu();
    EXPECT_TRUE(cpu.LookUpAffinitySetter("KERNEL32.DLL", "SetProcessAffinityMask"));
    EXPECT_TRUE(cpu.AffinitySetterFound());
    EXPECT_FALSE(cpu.LookUpAffinitySetter("KERNEL32.DLL", "NoSuchFunction"));
    EXPECT_FALSE(cpu.AffinitySetterFound());
    EXPECT_FALSE(cpu.LookUpAffinitySetter("NOSUCHMODULE.DLL", "SetProcessAffinityMask"));
    // Without the setter nothing changes the mask.
    const DWORD_PTR before = CurrentProcessMask();
    cpu.SetProcessAffinityMask(1);
    EXPECT_EQ(CurrentProcessMask(), before);
}

TEST_F(Win32Processor, BindingPinsTheProcessAndRestoresIt) {
    if (platform::TheCpu().ProcessorCount() < 2) {
        GTEST_SKIP() << "one processor: nothing is bound";
    }
    const DWORD_PTR before = CurrentProcessMask();
    {
        const TCpuAffinity binding(1);
        EXPECT_TRUE(binding.Bound());
        EXPECT_EQ(CurrentProcessMask(), 2U);
        {
            const TCpuAffinity inner(0);
            EXPECT_EQ(CurrentProcessMask(), 1U);
        }
        EXPECT_EQ(CurrentProcessMask(), 2U);
    }
    EXPECT_EQ(CurrentProcessMask(), before);
    EXPECT_EQ(CpuRoot().Processors(1)->Vendor()->Vendor(), CpuRoot().Processors(0)->Vendor()->Vendor());
    EXPECT_EQ(CurrentProcessMask(), before);
}

TEST_F(Win32Processor, TimeStampCounterAdvances) {
    auto& cpu = platform::TheCpu();
    const std::uint64_t first = cpu.ReadTimeStampCounter();
    ::Sleep(5);
    EXPECT_GT(cpu.ReadTimeStampCounter(), first);
}

// Under Wine the kernel's own view of the processor is reachable through drive Z:.
TEST_F(Win32Processor, VendorAndBrandAgreeWithTheKernel) {
    std::ifstream file("Z:\\proc\\cpuinfo");
    std::string vendor;
    std::string model;
    for (std::string line; std::getline(file, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const auto value = line.substr(std::min(colon + 2, line.size()));
        if (vendor.empty() && line.rfind("vendor_id", 0) == 0) {
            vendor = value;
        } else if (model.empty() && line.rfind("model name", 0) == 0) {
            model = value;
        }
    }
    if (vendor.empty()) {
        GTEST_SKIP() << "no Z:\\proc\\cpuinfo (not under Wine on Linux)";
    }
    const auto cpu = CpuRoot().Processors(0);
    const TCpuVendor known = VendorOfId(vendor);
    EXPECT_EQ(cpu->Vendor()->VendorId(), known == TCpuVendor::Unknown ? "BadCpuVendor" : vendor);
    if (cpu->Cpuid()->Extended()->MaxCommand()->Value() >= 0x80000004) {
        EXPECT_FALSE(cpu->Name()->FromLookup()->Value());
        EXPECT_EQ(cpu->Name()->Name(), model);
    }
}

// Under Wine the kernel's caches of processor 0 are reachable through drive Z:.
TEST_F(Win32Processor, CachePagesAgreeWithTheKernel) {
    if (!testing::ExpectCachePagesAgreeWithTheSystem("Z:/")) {
        GTEST_SKIP() << "no Z:\\sys\\devices\\system\\cpu\\cpu0\\cache (not under Wine on Linux)";
    }
}

TEST_F(Win32Processor, VirtualProcessorsAreTheSystemsLogicalProcessors) {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), info.dwNumberOfProcessors);
}

// The 32-bit product build decodes recorded processors as the native build does.
TEST(Win32RecordedProcessor, AthlonXpBarton) {
    testing::RecordedProcessor recorded("amd-athlon-xp-barton.txt", 2);
    const auto cpu = recorded.Processor(1);
    EXPECT_EQ(cpu->Vendor()->Name(), "Advanced Micro Devices");
    EXPECT_EQ(cpu->Signature()->AsString(), "x86 Family 6 Model 10 Stepping 0");
    EXPECT_EQ(cpu->Features()->Extended()->Count()->Value(), 24U);
    EXPECT_EQ(cpu->Features()->PowerManagement()->Count()->Value(), 6U);
    EXPECT_TRUE(cpu->Features()->FeatureByName("3dnow")->Available()->Value());
    EXPECT_EQ(cpu->Name()->Name(), "AMD Athlon(tm) XP 3200+");
    EXPECT_EQ(cpu->Cache()->Level2()->Size()->AsSize(), "512.0 Kb");
    EXPECT_EQ(cpu->Cache()->Level2()->Associativity()->Text(), "16-Way");
    EXPECT_EQ(cpu->Cache()->Level1()->Data()->LineSize()->Value(), 64U);
    EXPECT_EQ(CpuNumber(1048576)->AsSize(), "1.0 Mb");
    EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
}

TEST(Win32RecordedProcessor, RaptorLakeCachesFromCommand4) {
    testing::RecordedProcessor recorded("intel-core-i7-raptorlake.txt");
    const auto caches = recorded.Processor()->Cache();
    EXPECT_EQ(recorded.Processor()->Signature()->Model()->Value()->Value(), 183U);
    EXPECT_EQ(caches->Level1()->Data()->Size()->Value(), 48U * 1024);
    EXPECT_EQ(caches->Level3()->Size()->Value(), 30U * 1024 * 1024);
    EXPECT_EQ(caches->Level3()->Associativity()->Text(), "12-Way");
}

} // namespace
} // namespace quelmo
