// The live processor of the machine the tests run on, through the real seam, compared with what
// the kernel reports in /proc/cpuinfo and /sys. Skipped where there is no such file or no x86
// processor.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "platform/Cpu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include <sched.h>

namespace quelmo {
namespace {

struct CpuInfo {
    std::map<std::string, std::string> fields; // of the first processor
    std::set<std::string> flags;
    std::uint32_t processors = 0;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

CpuInfo ReadCpuInfo() {
    CpuInfo info;
    std::ifstream file("/proc/cpuinfo");
    std::string line;
    while (std::getline(file, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string key = Trim(line.substr(0, colon));
        const std::string value = Trim(line.substr(colon + 1));
        if (key == "processor") {
            ++info.processors;
        } else if (info.processors == 1 && !info.fields.contains(key)) {
            info.fields[key] = value;
        }
    }
    std::istringstream flags(info.fields["flags"]);
    for (std::string flag; flags >> flag;) {
        info.flags.insert(flag);
    }
    return info;
}

class LiveProcessor : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(__i386__) && !defined(__x86_64__)
        GTEST_SKIP() << "not an x86 processor";
#endif
        info_ = ReadCpuInfo();
        if (info_.processors == 0 || !info_.fields.contains("vendor_id")) {
            GTEST_SKIP() << "no /proc/cpuinfo with x86 fields";
        }
        RestartCpuLibrary(); // from the real processor, whatever tests ran before
    }
    void TearDown() override {
        RestartCpuLibrary();
    }
    CpuInfo info_;
};

TEST_F(LiveProcessor, VendorAgreesWithTheKernel) {
    const auto vendor = CpuRoot().Processors(0)->Vendor();
    const std::string& kernelVendor = info_.fields["vendor_id"];
    if (VendorOfId(kernelVendor) == TCpuVendor::Unknown) {
        EXPECT_EQ(vendor->Vendor(), TCpuVendor::Unknown);
        EXPECT_EQ(vendor->VendorId(), "BadCpuVendor");
    } else {
        EXPECT_EQ(vendor->VendorId(), kernelVendor);
    }
}

// The kernel trims the brand string as the library does.
TEST_F(LiveProcessor, NameAgreesWithTheKernel) {
    const auto cpu = CpuRoot().Processors(0);
    if (cpu->Cpuid()->Extended()->MaxCommand()->Value() < 0x80000004) {
        GTEST_SKIP() << "no brand string";
    }
    EXPECT_FALSE(cpu->Name()->FromLookup()->Value());
    EXPECT_EQ(cpu->Name()->Name(), info_.fields["model name"]);
}

TEST_F(LiveProcessor, FamilyModelAndSteppingAgreeWithTheKernel) {
    // The kernel combines family and model as the vendors' documents say; so does the library for
    // Intel and AMD (the kernel also shifts the extended model in for other vendors' family 6).
    const auto cpu = CpuRoot().Processors(0);
    const auto signature = cpu->Signature();
    EXPECT_EQ(signature->Family()->Value()->AsString(), info_.fields["cpu family"]);
    const TCpuVendor vendor = cpu->Vendor()->Vendor();
    if (vendor == TCpuVendor::Intel || vendor == TCpuVendor::AMD) {
        EXPECT_EQ(signature->Model()->Value()->AsString(), info_.fields["model"]);
    }
    if (info_.fields.contains("stepping")) {
        EXPECT_EQ(signature->Stepping()->Value()->AsString(), info_.fields["stepping"]);
    }
}

TEST_F(LiveProcessor, StandardFeaturesAgreeWithTheKernelFlags) {
    const auto standard = CpuRoot().Processors(0)->Features()->Standard();
    // Flags the kernel reports as the processor does.
    const std::map<std::string, std::string> names = {{"FPU", "fpu"},   {"TSC", "tsc"},  {"CX8", "cx8"},
                                                      {"CMOV", "cmov"}, {"MMX", "mmx"},  {"FXSR", "fxsr"},
                                                      {"SSE", "sse"},   {"SSE2", "sse2"}};
    for (const auto& [mnemonic, flag] : names) {
        EXPECT_EQ(standard->FeatureByName(mnemonic)->Available()->Value(), info_.flags.contains(flag))
            << mnemonic;
    }
}

TEST_F(LiveProcessor, CachePagesAgreeWithTheKernel) {
    if (!testing::ExpectCachePagesAgreeWithTheSystem("/")) {
        GTEST_SKIP() << "no /sys/devices/system/cpu/cpu0/cache";
    }
}

TEST_F(LiveProcessor, CountAgreesAndEveryBindingIsUndone) {
    EXPECT_EQ(CpuRoot().ProcessorCount()->Available()->Value(), info_.processors);
    // The machine's logical processors, each of which the kernel lists.
    EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), info_.processors);
    cpu_set_t before;
    CPU_ZERO(&before);
    ASSERT_EQ(sched_getaffinity(0, sizeof(before), &before), 0);
    for (std::uint32_t index = 0; index < info_.processors && index < 4; ++index) {
        const auto cpu = CpuRoot().Processors(static_cast<std::uint8_t>(index));
        EXPECT_EQ(cpu->Vendor()->Vendor(), CpuRoot().Processors(0)->Vendor()->Vendor()) << index;
    }
    cpu_set_t after;
    CPU_ZERO(&after);
    ASSERT_EQ(sched_getaffinity(0, sizeof(after), &after), 0);
    EXPECT_TRUE(CPU_EQUAL(&before, &after));
    EXPECT_TRUE(platform::TheCpu().AffinitySetterFound());
}

} // namespace
} // namespace quelmo
