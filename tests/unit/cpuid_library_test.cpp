#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quelmo {
namespace {

using testing::RecordedDump;
using testing::RecordedProcessor;

// Intel Pentium III (Coppermine), 733 MHz: no HTT flag.
constexpr const char* kCoppermine = "intel-pentium-iii-coppermine.txt";
// Intel Xeon (Gallatin DP), 3066 MHz: the HTT flag with two logical processors per package.
constexpr const char* kGallatin = "intel-xeon-gallatin.txt";

TEST(CpuRoot, VersionIs4301) {
    RecordedProcessor recorded(kCoppermine);
    EXPECT_EQ(CpuRoot().Version()->Value(), 4301U);
    EXPECT_EQ(CpuRoot().Version()->AsVersion(), "4.3.01");
}

TEST(CpuRoot, MultiprocessorWhenMoreThanOneProcessor) {
    const struct {
        std::uint32_t count;
        bool multiprocessor;
    } cases[] = {{0, false}, {1, false}, {2, true}, {64, true}};
    for (const auto& c : cases) {
        RecordedProcessor recorded(kCoppermine, c.count);
        EXPECT_EQ(CpuRoot().Multiprocessor(), c.multiprocessor) << c.count;
        EXPECT_EQ(CpuRoot().ProcessorCount()->Available()->Value(), c.count);
    }
}

TEST(CpuRoot, StartUpLooksUpTheAffinitySetterOnce) {
    RecordedProcessor recorded(kCoppermine, 2);
    for (int i = 0; i < 3; ++i) {
        CpuRoot().Processors(1)->Signature();
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"KERNEL32.DLL", "SetProcessAffinityMask"}};
    EXPECT_EQ(recorded.Cpu().SetterLookups(), expected);
}

TEST(CpuRoot, RestartReadsTheProcessorCountAgain) {
    RecordedProcessor recorded(kCoppermine, 1);
    EXPECT_FALSE(CpuRoot().Multiprocessor());
    recorded.Cpu().SetProcessorCount(2);
    EXPECT_FALSE(CpuRoot().Multiprocessor()); // fixed when the root was made
    RestartCpuLibrary();
    EXPECT_TRUE(CpuRoot().Multiprocessor());
    EXPECT_EQ(recorded.Cpu().SetterLookups().size(), 2U);
}

TEST(CpuRoot, ObjectsOutliveARestart) {
    RecordedProcessor recorded(kCoppermine);
    const auto vendor = CpuRoot().Processors(0)->Vendor();
    const auto features = CpuRoot().Processors(0)->Features();
    RestartCpuLibrary();
    EXPECT_EQ(vendor->Name(), "Intel Corporation");
    EXPECT_EQ(features->Standard()->Count()->Value(), 30U);
}

TEST(CpuRoot, NothingIsCached) {
    RecordedProcessor recorded(kCoppermine);
    const auto information = CpuRoot().Processors(0);
    information->Signature();
    const std::uint32_t once = recorded.Cpu().Executions(1);
    information->Signature();
    EXPECT_EQ(recorded.Cpu().Executions(1), 2 * once);
    EXPECT_NE(information->Vendor(), information->Vendor());
}

TEST(CpuInformation, EveryOperationAnswersForItsProcessor) {
    RecordedProcessor recorded(kCoppermine, 2);
    recorded.Cpu().SetProcessorDump(1, RecordedDump(kGallatin));
    const auto second = CpuRoot().Processors(1);
    EXPECT_EQ(second->Signature()->Signature()->Value(), 0xF25U);
    EXPECT_EQ(second->Cpuid()->Standard()->MaxCommand()->Value(), 2U);
    EXPECT_TRUE(second->Features()->Standard()->Features(28)->Available()->Value());
    EXPECT_EQ(second->Vendor()->Vendor(), TCpuVendor::Intel);
    // Filled in by their own files of the library; here only their presence.
    EXPECT_NE(second->Cache(), nullptr);
    EXPECT_NE(second->Errata(), nullptr);
    EXPECT_NE(second->Name(), nullptr);
    EXPECT_NE(second->Serial(), nullptr);
    EXPECT_NE(second->Speed(), nullptr);
    EXPECT_NE(second->Usage(), nullptr);
    EXPECT_EQ(CpuRoot().Processors(0)->Signature()->Signature()->Value(), 0x683U);
}

TEST(CpuCount, VirtualIsTheMachinesLogicalProcessorCount) {
    const struct {
        const char* dump;
        std::uint32_t count; // processors the system reports
        std::uint32_t virtualCount;
    } cases[] = {
        {kCoppermine, 1, 1},
        {kCoppermine, 2, 2},
        {kCoppermine, 0, 0},
        // Counted in full, not as a byte (once 1).
        {kCoppermine, 257, 257},
        // Leaf 1 EBX bits 16-23 are a range of ids, not a count: no more than the system reports
        // (once 2 per processor, 16 or 128 per processor).
        {kGallatin, 2, 2},
        {"intel-core-i7-haswell.txt", 8, 8},
        {"intel-core-i7-raptorlake.txt", 24, 24},
        // AMD's topology command (0x80000008 ECX bits 0-7, plus one) counts the package's logical
        // processors: 2 on the dual-core Athlon 64 X2, 16 on the 8-core 16-thread Ryzen 7 1800X,
        // also where the system sees fewer.
        {"amd-athlon64-x2-manchester.txt", 2, 2},
        {"amd-athlon64-x2-manchester.txt", 1, 2},
        {"amd-ryzen-zen1-summitridge.txt", 16, 16},
        {"amd-ryzen-zen1-summitridge.txt", 1, 16},
        {"amd-ryzen-zen1-summitridge.txt", 32, 32},
        {"amd-athlon-xp-barton.txt", 1, 1},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump, c.count);
        EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), c.virtualCount)
            << c.dump << " x" << c.count;
    }
}

} // namespace
} // namespace quelmo
