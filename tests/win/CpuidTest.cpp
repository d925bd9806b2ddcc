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

// The 32-bit product build decodes a recorded processor as the native build does.
// AMD Athlon XP 3200+ (Barton), cpuid-dumps/amd-athlon-xp-barton.txt.
TEST(Win32RecordedProcessor, AthlonXpBarton) {
    testing::RecordedProcessor recorded(testing::RecordedLeaves{"amd-athlon-xp-barton.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 000006A0 00000000 00000000 0383FBFF
80000000 80000008 68747541 444D4163 69746E65
80000001 000007A0 00000000 00000000 C1C3FBFF
80000002 20444D41 6C687441 74286E6F 5820296D
80000003 32332050 002B3030 00000000 00000000
80000004 00000000 00000000 00000000 00000000
80000005 0408FF08 FF20FF10 40020140 40020140
80000006 00000000 41004100 02008140 00000000
80000007 00000000 00000000 00000000 00000001
)"},
                                        2);
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

} // namespace
} // namespace quelmo
