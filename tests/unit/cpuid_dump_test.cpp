#include "CpuidTestSupport.h"

#include "cpuid/CpuDump.h"
#include "cpuid/RecordedCpu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace quelmo {
namespace {

using testing::InlineDump;
using testing::Regs;

// Hand-made in the files' format: leaves 0-1 and 0x80860000 of the Transmeta Crusoe TM5800
// (transmeta-crusoe-tm5800.txt) with the standard maximum raised to 4 and the leaf-4 sub-leaves
// of this-machine.txt (sub-leaf 2 left out), with CR LF line ends in part.
constexpr const char* kDumpText = "# source: InstLatx64/InstLatx64/GenuineTMx86/... (commit ddff8a9)\r\n"
                                  "# cpu: Transmeta Crusoe TM5800, 1000 MHz\r\n"
                                  "leaf eax ebx ecx edx\r\n"
                                  "00000000 00000004 756E6547 3638784D 54656E69\r\n"
                                  "00000001 00000543 00000000 00000000 0084893F\r\n"
                                  "00000004 04000121 02C0003F 0000003F 00000000\n"
                                  "00000004/01 04000122 01C0003F 0000003F 00000000\n"
                                  "00000004/03 04004163 04C0003F 00033FFF 00000000\n"
                                  "\n"
                                  "80860000 80860007 6E617254 55504361 74656D73\n";

TEST(CpuDump, ReadsCommentsLeavesAndSubleaves) {
    const CpuDumpResult result = ParseCpuDump(kDumpText);
    ASSERT_TRUE(result.dump) << result.error;
    const CpuDump& dump = *result.dump;
    EXPECT_EQ(dump.source, "InstLatx64/InstLatx64/GenuineTMx86/... (commit ddff8a9)");
    EXPECT_EQ(dump.cpu, "Transmeta Crusoe TM5800, 1000 MHz");
    ASSERT_EQ(dump.Records().size(), 6U);
    ASSERT_NE(dump.Find(0), nullptr);
    EXPECT_EQ(*dump.Find(0), Regs(0x00000004, 0x756E6547, 0x3638784D, 0x54656E69));
    ASSERT_NE(dump.Find(4, 3), nullptr);
    EXPECT_EQ(dump.Find(4, 3)->ecx, 0x00033FFFU);
    EXPECT_EQ(dump.Find(4, 2), nullptr);
    EXPECT_EQ(dump.Find(0x80860000)->eax, 0x80860007U);
    EXPECT_EQ(dump.Find(0x80000000), nullptr);
}

TEST(CpuDump, RejectsMalformedInputNamingTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "no CPUID leaves found"},
        {"# only a comment\nleaf eax ebx ecx edx\n", "no CPUID leaves found"},
        {"00000000 00000001 756E6547 6C65746E\n", "line 1: expected five fields: leaf eax ebx ecx edx"},
        {"00000000 00000001 756E6547 6C65746E 49656E69 00000000\n",
         "line 1: expected five fields: leaf eax ebx ecx edx"},
        {"\n0000000 00000001 756E6547 6C65746E 49656E69\n",
         "line 2: the leaf must be 8 hexadecimal digits, optionally /SS"},
        {"0000000G 00000001 756E6547 6C65746E 49656E69\n",
         "line 1: the leaf must be 8 hexadecimal digits, optionally /SS"},
        {"00000004-01 00000001 756E6547 6C65746E 49656E69\n",
         "line 1: the leaf must be 8 hexadecimal digits, optionally /SS"},
        {"00000004/1 00000001 756E6547 6C65746E 49656E69\n",
         "line 1: the leaf must be 8 hexadecimal digits, optionally /SS"},
        {"00000000 0000001 756E6547 6C65746E 49656E69\n", "line 1: a register must be 8 hexadecimal digits"},
        {"00000000 00000001 756E6547 6C65746E 49656E6Z\n", "line 1: a register must be 8 hexadecimal digits"},
        {"00000000 00000001 756E6547 6C65746E 49656E69\n00000000 00000001 756E6547 6C65746E 49656E69\n",
         "line 2: leaf 00000000 appears twice"},
        {"00000004 00000001 00000000 00000000 00000000\n00000004/00 00000001 00000000 00000000 00000000\n",
         "line 2: sub-leaf 00 is written as a plain line"},
        {"00000004/01 00000001 00000000 00000000 00000000\n",
         "line 1: a sub-leaf line must follow its leaf's plain line or a lower sub-leaf of that leaf"},
        {"00000004 00000001 00000000 00000000 00000000\n00000005 00000000 00000000 00000000 00000000\n"
         "00000004/01 00000001 00000000 00000000 00000000\n",
         "line 3: a sub-leaf line must follow its leaf's plain line or a lower sub-leaf of that leaf"},
        {"00000004 00000001 00000000 00000000 00000000\n00000004/02 00000001 00000000 00000000 00000000\n"
         "00000004/01 00000001 00000000 00000000 00000000\n",
         "line 3: a sub-leaf line must follow its leaf's plain line or a lower sub-leaf of that leaf"},
        {"00000000 00000001 756E6547 6C65746E 49656E69\nleaf eax ebx ecx edx\n",
         "line 2: the header line must come before the leaves"},
    };
    for (const auto& c : cases) {
        const CpuDumpResult result = ParseCpuDump(c.text);
        EXPECT_FALSE(result.dump) << c.text;
        EXPECT_EQ(result.error, c.error) << c.text;
    }
}

TEST(CpuDump, ManyLeavesAndALateDuplicate) {
    std::string text;
    char line[64];
    for (unsigned leaf = 0; leaf < 5000; ++leaf) {
        std::snprintf(line, sizeof(line), "%08X 00000001 %08X 00000003 00000004\n", leaf, leaf);
        text += line;
    }
    const CpuDumpResult many = ParseCpuDump(text);
    ASSERT_TRUE(many.dump) << many.error;
    EXPECT_EQ(many.dump->Find(4321)->ebx, 4321U);
    const CpuDumpResult duplicate = ParseCpuDump(text + "00000FA0 00000001 00000002 00000003 00000004\n");
    EXPECT_EQ(duplicate.error, "line 5001: leaf 00000FA0 appears twice");
}

TEST(CpuDump, LoadReportsAMissingFile) {
    const CpuDumpResult result = LoadCpuDump("/nonexistent/folder/dump.txt");
    EXPECT_FALSE(result.dump);
    // The caller names the file: the error says what is wrong with it, once.
    EXPECT_EQ(result.error, "cannot open the file");
}

TEST(CpuDump, LoadReadsAFile) {
    const auto path = std::filesystem::temp_directory_path() / "quelmo-cpuid-dump-test.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << kDumpText;
    }
    const CpuDumpResult result = LoadCpuDump(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(result.dump) << result.error;
    EXPECT_EQ(result.dump->Records().size(), 6U);
}

TEST(RecordedCpu, AnswersRecordedLeavesAndZerosForTheRest) {
    RecordedCpu cpu(InlineDump(kDumpText));
    EXPECT_EQ(cpu.Cpuid(1, 0), Regs(0x00000543, 0, 0, 0x0084893F));
    // Leaf 4 answers the sub-leaf asked for, zeros for one not recorded; other leaves ignore it.
    EXPECT_EQ(cpu.Cpuid(4, 0).eax, 0x04000121U);
    EXPECT_EQ(cpu.Cpuid(4, 3).ecx, 0x00033FFFU);
    EXPECT_EQ(cpu.Cpuid(4, 2), Regs(0, 0, 0, 0));
    EXPECT_EQ(cpu.Cpuid(1, 3), cpu.Cpuid(1, 0));
    // Leaf 2 lies inside the standard range (maximum 4) but was not recorded.
    EXPECT_EQ(cpu.Cpuid(2, 0), Regs(0, 0, 0, 0));
    EXPECT_EQ(cpu.Cpuid(5, 0), Regs(0, 0, 0, 0));
    // Beyond the recorded maximum of their range, and in a range without a recorded base.
    EXPECT_EQ(cpu.Cpuid(0x80860008, 0), Regs(0, 0, 0, 0));
    EXPECT_EQ(cpu.Cpuid(0x80000000, 0), Regs(0, 0, 0, 0));
    EXPECT_EQ(cpu.Executions(1), 3U);
    EXPECT_EQ(cpu.Executions(0x80860008), 1U);
}

TEST(RecordedCpu, ZerosBeyondTheRangeMaximumEvenWhenRecorded) {
    // A standard maximum of 1 with a leaf 4 recorded beside it.
    RecordedCpu cpu(InlineDump("00000000 00000001 756E6547 6C65746E 49656E69\n"
                               "00000004 04000121 02C0003F 0000003F 00000000\n"
                               "40000000 40000001 4B4D564B 564B4D56 0000004D\n"));
    EXPECT_EQ(cpu.Cpuid(4, 0), Regs(0, 0, 0, 0));
    // Outside the three ranges a recorded leaf answers as recorded.
    EXPECT_EQ(cpu.Cpuid(0x40000000, 0).ebx, 0x4B4D564BU);
}

TEST(RecordedCpu, EachProcessorAnswersFromItsOwnDumpWhenBoundToIt) {
    RecordedCpu cpu(InlineDump("00000000 00000001 756E6547 6C65746E 49656E69\n"));
    cpu.SetProcessorCount(2);
    cpu.SetProcessorDump(1, InlineDump("00000000 00000001 68747541 444D4163 69746E65\n"));
    cpu.LookUpAffinitySetter("KERNEL32.DLL", "SetProcessAffinityMask");
    EXPECT_EQ(cpu.ProcessAffinityMask(), 3U);
    EXPECT_EQ(cpu.Cpuid(0, 0).ebx, 0x756E6547U); // unbound: processor 0
    cpu.SetProcessAffinityMask(2);
    EXPECT_EQ(cpu.CurrentProcessor(), 1U);
    EXPECT_EQ(cpu.Cpuid(0, 0).ebx, 0x68747541U);
    EXPECT_EQ(cpu.AffinityCalls(), 2U);
}

TEST(RecordedCpu, WithoutTheSetterWritesAreCountedButChangeNothing) {
    RecordedCpu cpu(InlineDump("00000000 00000001 756E6547 6C65746E 49656E69\n"));
    cpu.SetProcessorCount(2);
    cpu.SetAffinitySetterPresent(false);
    EXPECT_FALSE(cpu.LookUpAffinitySetter("KERNEL32.DLL", "SetProcessAffinityMask"));
    cpu.SetProcessAffinityMask(2);
    EXPECT_EQ(cpu.AffinityWrites().size(), 1U);
    EXPECT_EQ(cpu.ProcessAffinityMask(), 3U);
}

TEST(RecordedCpu, SetLeafDerivesAProcessorFromARecordedOne) {
    RecordedCpu cpu(InlineDump(kDumpText));
    cpu.SetLeaf(1, Regs(0x00000F51, 0, 0, 0));
    cpu.SetLeaf(0x80000001, Regs(0, 0x150, 0, 0));
    EXPECT_EQ(cpu.Cpuid(1, 0).eax, 0x00000F51U);
    // Added leaves still obey the recorded range maximum (no extended range here).
    EXPECT_EQ(cpu.Cpuid(0x80000001, 0), Regs(0, 0, 0, 0));
}

TEST(RecordedCpu, TimeStampCounterIsScripted) {
    RecordedCpu cpu(InlineDump(kDumpText));
    cpu.SetTimeStampCounter(1000, 250);
    EXPECT_EQ(cpu.ReadTimeStampCounter(), 1000U);
    EXPECT_EQ(cpu.ReadTimeStampCounter(), 1250U);
}

} // namespace
} // namespace quelmo
