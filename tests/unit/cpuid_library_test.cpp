#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quelmo {
namespace {

using testing::InlineDump;
using testing::RecordedLeaves;
using testing::RecordedProcessor;
using testing::Regs;

// Intel Xeon (Gallatin DP), 3066 MHz: the HTT flag with two logical processors per package.
constexpr RecordedLeaves kGallatin{"intel-xeon-gallatin.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F25 0002080B 00004400 BFEBFBFF
)"};

// Intel Pentium III (Coppermine), 733 MHz: no HTT flag.
constexpr RecordedLeaves kCoppermine{"intel-pentium-iii-coppermine.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000683 00000002 00000000 0387FBFF
)"};

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
    recorded.Cpu().SetProcessorDump(1, InlineDump(kGallatin));
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

TEST(CpuCount, VirtualSumsTheLogicalProcessorsOfEachProcessor) {
    const struct {
        const char* name;
        RecordedLeaves first;
        RecordedLeaves second;
        std::uint32_t count;
        std::uint32_t virtualCount;
    } cases[] = {
        {"no HTT, one", kCoppermine, kCoppermine, 1, 1},
        {"no HTT, two", kCoppermine, kCoppermine, 2, 2},
        {"HTT, one", kGallatin, kGallatin, 1, 2},
        // Counts per processor the system reports: two Xeons seen as two processors give 4.
        {"HTT, two", kGallatin, kGallatin, 2, 4},
        {"mixed", kCoppermine, kGallatin, 2, 3},
        {"none", kCoppermine, kCoppermine, 0, 0},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.first, c.count);
        recorded.Cpu().SetProcessorDump(1, InlineDump(c.second));
        EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), c.virtualCount) << c.name;
    }
}

TEST(CpuCount, VirtualVisitsProcessor0ThroughTheIndexPastTheLast) {
    // Index N (here 2) stands for processor 0: each processor is counted once, whatever it reports.
    RecordedProcessor recorded(kGallatin, 2);
    recorded.Cpu().SetLeaf(1, Regs(0x00000F25, 0x0005080B, 0x00004400, 0xBFEBFBFF), 0);
    recorded.Cpu().SetProcessorDump(1, InlineDump(kGallatin));
    EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), 5U + 2U);
}

TEST(CpuCount, VirtualTakesTheCountAsAByte) {
    // 257 processors read as 1 for the sum.
    RecordedProcessor recorded(kCoppermine, 257);
    EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), 1U);
    EXPECT_EQ(CpuRoot().ProcessorCount()->Available()->Value(), 257U);
}

} // namespace
} // namespace quelmo
