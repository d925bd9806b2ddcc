#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/Cpuid.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using testing::RecordedProcessor;
using testing::Regs;

// AMD Athlon 64 X2 (Manchester): standard maximum 1, extended maximum 0x80000018.
constexpr const char* kManchester = "amd-athlon64-x2-manchester.txt";
// Intel Pentium (P5): leaves 0 and 1 only, no extended range.
constexpr const char* kPentiumP5 = "intel-pentium-p5.txt";

TEST(CommandRange, BoundariesOfTheThreeRanges) {
    const struct {
        std::uint32_t command;
        std::uint32_t base;
    } cases[] = {
        {0, 0},
        {1, 0},
        {0x7FFFFFFF, 0},
        {0x80000000, 0x80000000},
        {0x80000008, 0x80000000},
        // Beyond the extended commands the library reads: judged against the standard range.
        {0x80000009, 0},
        {0x8000001C, 0},
        // AMD's cache topology, which the library reads.
        {0x8000001D, 0x80000000},
        {0x8000001E, 0},
        {0x8085FFFF, 0},
        {0x80860000, 0x80860000},
        {0x80860007, 0x80860000},
        {0x80860008, 0},
        {0xC0000000, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandRangeBase(c.command), c.base) << std::hex << c.command;
    }
}

TEST(Cpuid, AvailableCommandKeepsTheRegisters) {
    RecordedProcessor recorded(kManchester);
    const TCpuid command(0, 0x80000001);
    EXPECT_EQ(command.Processor(), 0);
    EXPECT_EQ(command.Command(), 0x80000001U);
    EXPECT_EQ(command.Iterations(), 1);
    EXPECT_TRUE(command.Available()->Value());
    EXPECT_EQ(command.Eax()->Value(), 0x00020FB1U);
    EXPECT_EQ(command.Ebx()->Value(), 0x150U);
    EXPECT_EQ(command.Ecx()->Value(), 3U);
    EXPECT_EQ(command.Edx()->Value(), 0xE3D3FBFFU);
}

TEST(Cpuid, AsStringIsTheRegistersBytesInOrder) {
    RecordedProcessor recorded(kManchester);
    // Command 0 reads "Auth" "cAMD" "enti" in EAX order EAX, EBX, ECX, EDX.
    const std::string expected = std::string("\x01\0\0\0", 4) + "AuthcAMDenti";
    EXPECT_EQ(TCpuid(0, 0).AsString(), expected);
}

TEST(Cpuid, Command80000009IsJudgedAgainstTheStandardRange) {
    // The processor reports extended commands up to 0x80000018, but the library's extended range
    // ends at 0x80000008, so 0x80000009 is compared with the standard maximum (1).
    RecordedProcessor recorded(kManchester);
    recorded.Cpu().SetLeaf(0x80000009, Regs(1, 2, 3, 4));
    const TCpuid command(0, 0x80000009);
    EXPECT_FALSE(command.Available()->Value());
    EXPECT_EQ(command.Eax()->Value() | command.Ebx()->Value() | command.Ecx()->Value() |
                  command.Edx()->Value(),
              0U);
    EXPECT_EQ(recorded.Cpu().Executions(0x80000009), 0U);
}

TEST(Cpuid, UnavailableRangeGivesZeros) {
    RecordedProcessor recorded(kPentiumP5);
    const TCpuid command(0, 0x80000000);
    EXPECT_FALSE(command.Available()->Value());
    EXPECT_EQ(command.Eax()->Value(), 0U);
    const TCpuid beyond(0, 2);
    EXPECT_FALSE(beyond.Available()->Value());
    EXPECT_EQ(recorded.Cpu().Executions(2), 0U);
}

TEST(Cpuid, IterationsRepeatTheCommandAndBelowOneSkipIt) {
    const struct {
        std::int32_t iterations;
        std::uint32_t executions;
        std::uint32_t eax;
    } cases[] = {{1, 1, 0x517}, {3, 3, 0x517}, {0, 0, 0}, {-1, 0, 0}};
    for (const auto& c : cases) {
        RecordedProcessor recorded(kPentiumP5);
        const TCpuid command(0, 1, c.iterations);
        EXPECT_EQ(recorded.Cpu().Executions(1), c.executions) << c.iterations;
        EXPECT_EQ(command.Eax()->Value(), c.eax) << c.iterations;
    }
}

TEST(Cpuid, OnlyTheCacheCommandsTakeASubleaf) {
    // Core i5-2400 (Sandy Bridge): command 4 sub-leaf 3 is its 6 MB level 3; command 0xB has
    // recorded sub-leaf 0 only, which every sub-leaf of it answers, as ECX 0 would.
    RecordedProcessor recorded("intel-core-i5-sandybridge.txt");
    EXPECT_EQ(TCpuid(0, 4, 1, 3).Eax()->Value(), 0x1C03C163U);
    EXPECT_EQ(TCpuid(0, 4, 1, 4).Eax()->Value(), 0U); // no fifth cache
    EXPECT_EQ(TCpuid(0, 0xB, 1, 1).Ebx()->Value(), TCpuid(0, 0xB).Ebx()->Value());
    EXPECT_TRUE(platform::LeafTakesSubleaf(4) && platform::LeafTakesSubleaf(0x8000001D));
    EXPECT_FALSE(platform::LeafTakesSubleaf(0xB) || platform::LeafTakesSubleaf(7) ||
                 platform::LeafTakesSubleaf(2));
}

TEST(Cpuid, AvailableIsEvaluatedAgainAtEachCall) {
    RecordedProcessor recorded(kManchester);
    const TCpuid command(0, 0x80000008);
    EXPECT_TRUE(command.Available()->Value());
    recorded.Cpu().SetLeaf(0x80000000, Regs(0x80000004, 0, 0, 0));
    EXPECT_FALSE(command.Available()->Value());
    EXPECT_EQ(command.Eax()->Value(), 0x3028U); // the registers stay a snapshot
}

TEST(CpuidRanges, MaximumOfEachRange) {
    const struct {
        const char* dump;
        const char* name;
        bool available[3];
        std::uint32_t maximum[3];
    } cases[] = {
        {kManchester, "Athlon 64 X2", {true, true, false}, {1, 0x80000018, 0}},
        {kPentiumP5, "Pentium", {true, false, false}, {1, 0, 0}},
        // Leaf 0x80860000 answers 0x80860000 although it is no Transmeta processor.
        {"idt-winchip-c6.txt", "WinChip C6", {true, true, true}, {1, 0x80000000, 0x80860000}},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump);
        const auto ranges = recorded.Processor()->Cpuid();
        const CpuRef<ICpuidInformation> informations[] = {ranges->Standard(), ranges->Extended(),
                                                          ranges->Transmeta()};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(informations[i]->Available()->Value(), c.available[i]) << c.name << " range " << i;
            EXPECT_EQ(informations[i]->MaxCommand()->Value(), c.maximum[i]) << c.name << " range " << i;
        }
        // Any other range kind reads the standard range.
        EXPECT_EQ(TCpuidInformation(0, 7).MaxCommand()->Value(), c.maximum[0]) << c.name;
    }
}

TEST(CpuAffinity, OneProcessorMakesNoAffinityCallAtAll) {
    RecordedProcessor recorded(kManchester, 1);
    const auto information = recorded.Processor(0);
    information->Vendor();
    information->Signature()->BrandId();
    information->Features()->Extended()->Count();
    information->Cpuid()->Extended()->MaxCommand();
    EXPECT_FALSE(CpuRoot().Multiprocessor());
    EXPECT_EQ(recorded.Cpu().AffinityCalls(), 0U);
}

TEST(CpuAffinity, BindsTheQueriedProcessorAndRestoresTheMask) {
    RecordedProcessor recorded(kManchester, 2);
    {
        const TCpuAffinity binding(1);
        EXPECT_TRUE(binding.Bound());
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 2U);
    }
    EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
    EXPECT_EQ(recorded.Cpu().AffinityWrites(), (std::vector<std::uint32_t>{2, 3}));
}

TEST(CpuAffinity, IndexPastTheLastProcessorBindsProcessor0) {
    RecordedProcessor recorded(kManchester, 2);
    const TCpuAffinity binding(5);
    EXPECT_EQ(binding.Mask(), 1U);
    EXPECT_EQ(recorded.Cpu().AffinityWrites(), (std::vector<std::uint32_t>{1}));
}

TEST(CpuAffinity, NestedBindingsRestoreWhatEachFound) {
    RecordedProcessor recorded(kManchester, 4);
    recorded.Cpu().SetProcessAffinity(0xD);
    {
        const TCpuAffinity outer(1);
        {
            const TCpuAffinity inner(3);
            EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 8U);
        }
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 2U);
    }
    EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 0xDU);
}

TEST(CpuAffinity, AnUnreadableMaskIsNeverReplaced) {
    // Restoring a mask of 0 would fail and leave the whole process on one processor.
    RecordedProcessor recorded(kManchester, 2);
    recorded.Cpu().SetProcessAffinity(0);
    const TCpuAffinity binding(1);
    EXPECT_FALSE(binding.Bound());
    EXPECT_TRUE(recorded.Cpu().AffinityWrites().empty());
    EXPECT_EQ(recorded.Processor(1)->Vendor()->Vendor(), TCpuVendor::AMD);
}

TEST(CpuAffinity, ProcessorFrom32OnIsNeverBound) {
    RecordedProcessor recorded(kManchester, 64);
    const TCpuAffinity binding(32);
    EXPECT_FALSE(binding.Bound());
    EXPECT_EQ(recorded.Cpu().AffinityCalls(), 0U);
}

TEST(CpuAffinity, WithoutTheSetterQueriesRunUnboundAndStillAnswer) {
    RecordedProcessor recorded(kManchester, 2);
    recorded.Cpu().SetAffinitySetterPresent(false);
    EXPECT_EQ(recorded.Processor(1)->Vendor()->Vendor(), TCpuVendor::AMD);
    EXPECT_TRUE(recorded.Cpu().AffinityWrites().empty());
}

TEST(CpuAffinity, QueryOfTheSecondProcessorAnswersFromIt) {
    // Two different recorded processors in one machine: each query must reach its own.
    RecordedProcessor recorded(kManchester, 2);
    recorded.Cpu().SetProcessorDump(1, testing::RecordedDump(kPentiumP5));
    EXPECT_EQ(recorded.Processor(0)->Vendor()->Vendor(), TCpuVendor::AMD);
    EXPECT_EQ(recorded.Processor(1)->Vendor()->Vendor(), TCpuVendor::Intel);
    EXPECT_EQ(recorded.Processor(1)->Signature()->Signature()->Value(), 0x517U);
    EXPECT_EQ(recorded.Processor(2)->Vendor()->Vendor(), TCpuVendor::AMD); // falls back to 0
    EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
}

TEST(CpuAffinity, TheCommandAndItsAvailabilityCheckBindAndRestoreInPairs) {
    RecordedProcessor recorded(kManchester, 2);
    const TCpuid command(1, 1);
    const auto& writes = recorded.Cpu().AffinityWrites();
    // Construction binds, the availability check binds again; each restores what it found.
    EXPECT_EQ(writes, (std::vector<std::uint32_t>{2, 2, 2, 3}));
}

} // namespace
} // namespace quelmo
