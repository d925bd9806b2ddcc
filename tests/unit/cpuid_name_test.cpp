// Processor names on recorded processors: the brand string, trimmed, where the processor has one;
// otherwise the vendor's lookup table or the generic text. Expected values come from the dumps'
// brand strings and headers, the README, `cpuid` and the vendors' documents; where the library's
// tables differ from those, the case says so. Derived processors change single registers of a
// recorded one (most often removing the extended range, so that the lookup decides).
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using testing::RecordedLeaves;
using testing::RecordedProcessor;
using testing::Regs;

// Intel Pentium 4, 1700 MHz (Willamette): brand index 8, signature F0A, a brand string led by blanks.
constexpr RecordedLeaves kWillamette{"intel-pentium-4-willamette.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F0A 00010808 00000000 3FEBFBFF
80000000 80000004 00000000 00000000 00000000
80000002 20202020 20202020 20202020 6E492020
80000003 286C6574 50202952 69746E65 52286D75
80000004 20342029 20555043 30303731 007A484D
)"};

// Intel Celeron, 1715 MHz (Willamette-128): brand index 10, signature F13.
constexpr RecordedLeaves kCeleronWillamette{"intel-celeron-willamette.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F13 0001080A 00000000 3FEBFBFF
80000000 80000004 00000000 00000000 00000000
80000002 20202020 20202020 20202020 20202020
80000003 65746E49 2952286C 6C654320 6E6F7265
80000004 20295228 20555043 30372E31 007A4847
)"};

// AMD Athlon XP 1600+ (Palomino): its brand string holds a DEL byte (0x7F) as recorded.
constexpr RecordedLeaves kPalomino{"amd-athlon-xp-palomino.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
80000000 80000008 68747541 444D4163 69746E65
80000002 6C687441 58206E6F 50282050 6D6F6C61
80000003 3F7F6E69 002B3030 00000000 00000000
80000004 00000000 00000000 00000000 00000000
)"};

// Via CN Nano (Isaiah): a brand string with blanks at both ends and no NUL.
constexpr RecordedLeaves kNano{"via-nano-isaiah.txt", R"(
00000000 0000000A 746E6543 736C7561 48727561
80000000 80000008 00000000 00000000 00000000
80000002 20202020 20202020 20202020 20202020
80000003 20202020 49562020 4E432041 72702041
80000004 7365636F 20726F73 30303831 207A484D
)"};

// 2x Intel Pentium III-S, 1266 MHz (Tualatin): brand index 4, signature 6B1.
constexpr RecordedLeaves kTualatin{"intel-pentium-iii-s-tualatin.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 000006B1 00000004 00000000 0383FBFF
00000002 03020101 00000000 00000000 0C040883
80000000 80000004 00000000 00000000 00000000
80000002 65746E49 2952286C 6E655020 6D756974
80000003 20295228 20494949 20555043 696D6166
80000004 2020796C 20202020 36363231 007A484D
)"};

// IDT WinChip 2A, 225 MHz: extended range up to 0x80000005.
constexpr RecordedLeaves kWinChip2A{"idt-winchip-2a.txt", R"(
00000000 00000001 746E6543 736C7561 48727561
00000001 00000587 00000000 00000000 008001B5
80000000 80000005 00000000 00000000 00000000
80000002 20544449 436E6957 20706968 44332D32
80000003 00000000 00000000 00000000 00000000
80000004 00000000 00000000 00000000 00000000
)"};

// QEMU Virtual CPU: extended range up to 0x8000000A.
constexpr RecordedLeaves kQemu{"qemu-virtual-cpu.txt", R"(
00000000 00000004 756E6547 6C65746E 49656E69
80000000 8000000A 68747541 444D4163 69746E65
80000002 554D4551 72695620 6C617574 55504320
80000003 72657620 6E6F6973 70632820 2D343675
80000004 6C656872 00002936 00000000 00000000
)"};

// AMD K6, 233 MHz: extended range up to 0x80000005.
constexpr RecordedLeaves kK6{"amd-k6.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000562 00000000 00000000 008001BF
80000000 80000005 00000000 00000000 00000000
80000002 2D444D41 6D74364B 202F7720 746C756D
80000003 64656D69 65206169 6E657478 6E6F6973
80000004 00000073 00000000 00000000 00000000
)"};

// OctalCore AMD Ryzen 7 9700X (Granite Ridge): blanks and a NUL at the end.
constexpr RecordedLeaves kGraniteRidge{"amd-ryzen-zen5-graniteridge.txt", R"(
00000000 00000010 68747541 444D4163 69746E65
80000000 80000028 68747541 444D4163 69746E65
80000002 20444D41 657A7952 2037206E 30303739
80000003 2D382058 65726F43 6F725020 73736563
80000004 2020726F 20202020 20202020 00202020
)"};

// VIA C7, 1500 MHz (Esther): 19 leading blanks.
constexpr RecordedLeaves kEsther{"via-c7-esther.txt", R"(
00000000 00000001 746E6543 736C7561 48727561
80000000 80000006 00000000 00000000 00000000
80000002 20202020 20202020 20202020 20202020
80000003 56202020 45204149 65687473 72702072
80000004 7365636F 20726F73 30303531 007A484D
)"};

// 2x Intel Xeon, 3066 MHz (Gallatin DP): brand index 11, signature F25.
constexpr RecordedLeaves kGallatin{"intel-xeon-gallatin.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F25 0002080B 00004400 BFEBFBFF
00000002 665B5001 00000000 00000000 007B7023
80000000 80000004 00000000 00000000 00000000
)"};

// Intel Pentium 4, 1600 MHz (Northwood): brand index 9, signature F24.
constexpr RecordedLeaves kNorthwood{"intel-pentium-4-northwood.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F24 00010809 00000000 3FEBFBFF
00000002 665B5001 00000000 00000000 007B7040
80000000 80000004 00000000 00000000 00000000
)"};

// Mobile Intel Pentium 4 - M 2.20GHz (Northwood): brand index 14, signature F29.
constexpr RecordedLeaves kMobilePentium4{"intel-mobile-pentium-4-m.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F29 0001080E 00004400 BFEBF9FF
00000002 665B5101 00000000 00000000 007B7040
80000000 80000004 00000000 00000000 00000000
)"};

// Mobile Intel Celeron M 320 (Banias-512): brand index 18, family 6 model 9.
constexpr RecordedLeaves kBanias{"intel-celeron-m-banias.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000695 00000812 00000000 A7E9FBBF
00000002 02B3B001 00000000 00000000 2C043086
80000000 80000004 00000000 00000000 00000000
)"};

// AMD K6-III, 400 MHz (Sharptooth): family 5 model 9.
constexpr RecordedLeaves kSharptooth{"amd-k6-iii-sharptooth.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000591 00000000 00000000 008021BF
80000000 80000006 00000000 00000000 00000000
)"};

// AMD Athlon, 1400 MHz (Thunderbird): family 6 model 4.
constexpr RecordedLeaves kThunderbird{"amd-athlon-thunderbird.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000644 00000000 00000000 0183F9FF
80000000 80000006 68747541 444D4163 69746E65
)"};

// Cyrix MediaGXm, 233 MHz: family 5 model 4.
constexpr RecordedLeaves kMediaGXm{"cyrix-mediagxm.txt", R"(
00000000 00000002 69727943 64616574 736E4978
00000001 00000540 00000000 00000000 00808131
80000000 80000005 00000000 00000000 00000000
)"};

// Via Cyrix III (Samuel 2): vendor CentaurHauls, family 6 model 7.
constexpr RecordedLeaves kSamuel2{"via-cyrix-iii-samuel2.txt", R"(
00000000 00000001 746E6543 736C7561 48727561
00000001 00000673 00000000 00000000 00803135
80000000 80000006 00000000 00000000 00000000
)"};

// Qualcomm Orion X1 x32 emulation: vendor "Virtual CPU " (unknown).
constexpr RecordedLeaves kVirtualCpu{"virtual-cpu-x86-emulation.txt", R"(
00000000 0000000D 74726956 20555043 206C6175
00000001 00000F4A 00080000 02982203 17808111
80000000 80000008 74726956 20555043 206C6175
)"};

// Transmeta Crusoe TM5800, 1000 MHz: leaves 0x80860003-6 hold the CMS build text.
constexpr RecordedLeaves kCrusoe{"transmeta-crusoe-tm5800.txt", R"(
00000000 00000003 756E6547 3638784D 54656E69
00000001 00000543 00000000 00000000 0084893F
80000000 80000006 6E617254 55504361 74656D73
80000002 6E617254 74656D73 6D742861 72432029
80000003 656F7375 296D7428 6F725020 73736563
80000004 5420726F 3038354D 00000030 00000000
80860000 80860007 6E617254 55504361 74656D73
80860003 33303032 38313630 3A353120 6F203732
80860004 63696666 206C6169 656C6572 20657361
80860005 2E342E34 00312333 00000000 00000000
80860006 00000000 00000000 00000000 00000000
)"};

TEST(ProcessorName, BrandStringTrimmed) {
    const struct {
        RecordedLeaves leaves;
        const char* name;
    } cases[] = {
        // Brand index 8 would give "Intel Pentium 4": the brand string wins.
        {kWillamette, "Intel(R) Pentium(R) 4 CPU 1700MHz"},
        {kCeleronWillamette, "Intel(R) Celeron(R) CPU 1.70GHz"},
        // DEL is above 32 and stays, as does everything between the first and last kept character.
        {kPalomino, "Athlon XP (Palomin\x7F?00+"},
        {kNano, "VIA CNA processor 1800MHz"},
        {kTualatin, "Intel(R) Pentium(R) III CPU family      1266MHz"},
        {kWinChip2A, "IDT WinChip 2-3D"},
        {kQemu, "QEMU Virtual CPU version (cpu64-rhel6)"},
        {kK6, "AMD-K6tm w/ multimedia extensions"},
        {kGraniteRidge, "AMD Ryzen 7 9700X 8-Core Processor"},
        {kEsther, "VIA Esther processor 1500MHz"},
        // Transmeta's name comes from 0x80860003-6, the Code Morphing Software's build text; Transmeta's
        // documents and `cpuid` use the brand string, "Transmeta(tm) Crusoe(tm) Processor TM5800".
        {kCrusoe, "20030618 15:27 official release 4.4.3#1"},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.leaves);
        const auto name = recorded.Processor()->Name();
        EXPECT_EQ(name->Name(), c.name) << c.leaves.file;
        EXPECT_FALSE(name->FromLookup()->Value()) << c.leaves.file;
    }
}

TEST(ProcessorName, TrimmingRemovesOnlyCodesUpTo32) {
    const struct {
        const char* name;
        std::uint32_t leaf;
        platform::CpuidRegisters registers;
        std::string expected;
    } cases[] = {
        {"NUL bytes first", 0x80000002, Regs(0, 0, 0, 0x6E490000), "Intel(R) Pentium(R) 4 CPU 1700MHz"},
        {"control characters first", 0x80000002, Regs(0x09090909, 0x01010101, 0x1F1F1F1F, 0x6E492020),
         "Intel(R) Pentium(R) 4 CPU 1700MHz"},
        // A byte above 0x7F is a character, not a blank.
        {"a Latin-1 byte last", 0x80000004, Regs(0x20342029, 0x20555043, 0x30303731, 0xAE7A484D),
         "Intel(R) Pentium(R) 4 CPU 1700MHz\xAE"},
    };
    for (const auto& c : cases) {
        // Derived from the Willamette: one brand-string leaf replaced.
        RecordedProcessor recorded(kWillamette);
        recorded.Cpu().SetLeaf(c.leaf, c.registers);
        EXPECT_EQ(recorded.Processor()->Name()->Name(), c.expected) << c.name;
    }
    // A brand string of NUL characters trims to the empty text, which is the name.
    RecordedProcessor recorded(kWillamette);
    for (const std::uint32_t leaf : {0x80000002U, 0x80000003U, 0x80000004U}) {
        recorded.Cpu().SetLeaf(leaf, Regs(0, 0, 0, 0));
    }
    EXPECT_EQ(recorded.Processor()->Name()->Name(), "");
    EXPECT_FALSE(recorded.Processor()->Name()->FromLookup()->Value());
}

TEST(ProcessorName, BrandStringDetectionReadsAllLeavesAsRecorded) {
    RecordedProcessor recorded(kCrusoe);
    const std::string transmeta = TProcessorNameDetect(0, true).Name();
    EXPECT_EQ(transmeta.size(), 64U);
    EXPECT_EQ(transmeta.substr(0, 40), std::string("20030618 15:27 official release 4.4.3#1\0", 40));
    const std::string brand = TProcessorNameDetect(0, false).Name();
    EXPECT_EQ(brand.size(), 48U);
    EXPECT_EQ(brand.substr(0, 42), std::string("Transmeta(tm) Crusoe(tm) Processor TM5800\0", 42));
}

// Intel 486DX100
constexpr RecordedLeaves k486{"intel-486dx4.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 00000480 00000000 00000000 00000003
)"};

// Intel Pentium (P5): family 5 model 1
constexpr RecordedLeaves kP5{"intel-pentium-p5.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 00000517 00000000 00000000 000001BF
)"};

// Intel Pentium, 166 MHz (P54C)
constexpr RecordedLeaves kP54C{"intel-pentium-p54c.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 0000052C 00000000 00000000 000001BF
)"};

// 2x Intel Pentium MMX, 200 MHz (P55C)
constexpr RecordedLeaves kP55C{"intel-pentium-mmx-p55c.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 00000543 00000000 00000000 008003BF
)"};

// Intel Pentium OverDrive, 83 MHz (P24T): type 1, family 5 model 3
constexpr RecordedLeaves kP24T{"intel-pentium-overdrive-p24t.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 00001532 00000000 00000000 0000013F
)"};

// 2x Intel Pentium Pro, 200 MHz
constexpr RecordedLeaves kPentiumPro{"intel-pentium-pro.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000619 00000000 00000000 0000FBFF
00000002 03020101 00000000 00000000 06040A42
)"};

// Intel PII (Klamath)
constexpr RecordedLeaves kKlamath{"intel-pentium-ii-klamath.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000633 00000000 00000000 0080FBFF
00000002 03020101 00000000 00000000 0C040843
)"};

// Intel PII (Deschutes): descriptor 0x44, 1 MB level 2 (the README's note says 0x43)
constexpr RecordedLeaves kDeschutes{"intel-pentium-ii-deschutes.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000653 00000000 00000000 0183FBFF
00000002 03020101 00000000 00000000 0C040844
)"};

// Intel Celeron, 266 MHz (Covington): descriptor 0x40, no level 2
constexpr RecordedLeaves kCovington{"intel-celeron-covington.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000651 00000000 00000000 0183F9FF
00000002 03020101 00000000 00000000 0C040840
)"};

// Intel Celeron-A, 300 MHz (Mendocino): 128 KB level 2, no serial-number flag
constexpr RecordedLeaves kMendocino{"intel-celeron-mendocino.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000660 00000000 00000000 0183F9FF
00000002 03020101 00000000 00000000 0C040841
)"};

// Intel PII Celeron (Dixon): 256 KB level 2
constexpr RecordedLeaves kDixon{"intel-mobile-pentium-ii-dixon.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 0000066A 00000000 00000000 0183F9FF
00000002 03020101 00000000 00000000 0C040842
)"};

// Intel Pentium III, 450 MHz (Katmai): 512 KB level 2
constexpr RecordedLeaves kKatmai{"intel-pentium-iii-katmai-psn.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000673 00000000 00000000 0387F9FF
00000002 03020101 00000000 00000000 0C040843
)"};

// 2x Intel Pentium IIIE, 733 MHz (Coppermine): brand index 2
constexpr RecordedLeaves kCoppermine{"intel-pentium-iii-coppermine.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000683 00000002 00000000 0387FBFF
00000002 03020101 00000000 00000000 0C040882
)"};

// Intel Celeron, 700 MHz (Coppermine-128): brand index 1
constexpr RecordedLeaves kCeleronCoppermine{"intel-celeron-coppermine.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000686 00000001 00000000 0383F9FF
00000002 03020101 00000000 00000000 0C040841
)"};

// Intel Pentium III Xeon (Cascades, 2MB L2): brand index 3, signature 6A4
constexpr RecordedLeaves kCascades{"intel-pentium-iii-xeon-cascades.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 000006A4 00000003 00000000 0387FBFF
00000002 03020101 00000000 00000000 0C040885
)"};

// AMD K5 SSA/5, 75 MHz PR75
constexpr RecordedLeaves kK5{"amd-k5-ssa5.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000500 00000000 00000000 000003BF
)"};

// Cyrix 6x86
constexpr RecordedLeaves kCyrix6x86{"cyrix-6x86.txt", R"(
00000000 00000001 69727943 64616574 736E4978
00000001 00000520 00530000 00000000 00000105
)"};

// Cyrix 6x86MX/MII, 250 MHz
constexpr RecordedLeaves kCyrix6x86Mx{"cyrix-6x86mx-mii.txt", R"(
00000000 00000001 69727943 64616574 736E4978
00000001 00000600 00000000 00000000 0080A135
)"};

// IDT WinChip C6, 240 MHz: extended range 0x80000000 only
constexpr RecordedLeaves kWinChipC6{"idt-winchip-c6.txt", R"(
00000000 00000001 746E6543 736C7561 48727561
00000001 00000541 00000000 00000000 008001B5
80000000 80000000 00000000 00000000 00000000
)"};

// Rise mP6, 200 MHz PR266 (Kirin)
constexpr RecordedLeaves kKirin{"rise-mp6-kirin.txt", R"(
00000000 00000001 65736952 65736952 65736952
00000001 00000504 00000000 00000000 00800011
)"};

// Rise mP6, 200 MHz PR266 (Lynx)
constexpr RecordedLeaves kLynx{"rise-mp6-lynx.txt", R"(
00000000 00000001 65736952 65736952 65736952
00000001 00000521 00000000 00000000 00800011
)"};

TEST(ProcessorName, LookupOnRecordedProcessors) {
    const struct {
        RecordedLeaves leaves;
        const char* name;
    } cases[] = {
        {k486, "Intel 80486DX4"},
        {kP5, "Intel Pentium"},
        {kP54C, "Intel Pentium"},
        {kP55C, "Intel Pentium MMX"},
        {kP24T, "Intel Pentium Overdrive"},
        {kPentiumPro, "Intel Pentium Pro"},
        {kKlamath, "Intel Pentium II"},
        {kDeschutes, "Intel Pentium II Xeon"},
        {kCovington, "Intel Celeron"},
        // The table names every model-6 processor with 128 KB of level 2 or more a Mobile Pentium II,
        // this Celeron-A included (`cpuid`: "Pentium II (unknown type) (Mendocino A0)").
        {kMendocino, "Intel Mobile Pentium II"},
        {kDixon, "Intel Mobile Pentium II"},
        {kKatmai, "Intel Pentium III"},
        {kCoppermine, "Intel Pentium III"},
        {kCeleronCoppermine, "Intel Celeron"},
        {kCascades, "Intel Pentium III Xeon"},
        {kK5, "AMD K5"},
        {kCyrix6x86, "Cyrix 6x86"},
        {kCyrix6x86Mx, "Cyrix 6x86MX"},
        {kWinChipC6, "IDT WinChip"},
        {kKirin, "Rise iDragon"},
        {kLynx, "Rise iDragon II"},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.leaves);
        const auto name = recorded.Processor()->Name();
        EXPECT_EQ(name->Name(), c.name) << c.leaves.file;
        EXPECT_TRUE(name->FromLookup()->Value()) << c.leaves.file;
    }
}

// One register of one leaf replaced.
struct Change {
    std::uint32_t leaf;
    int reg; // 0 EAX, 1 EBX, 2 ECX, 3 EDX
    std::uint32_t value;
};
constexpr int kEax = 0;
constexpr int kEbx = 1;
constexpr int kEcx = 2;
constexpr int kEdx = 3;
constexpr Change kNoExtendedRange{0x80000000, kEax, 0};

void Apply(RecordedProcessor& recorded, const RecordedLeaves& leaves, const std::vector<Change>& changes) {
    const CpuDump dump = testing::InlineDump(leaves.text);
    std::map<std::uint32_t, platform::CpuidRegisters> changed;
    for (const Change& change : changes) {
        if (!changed.contains(change.leaf)) {
            const platform::CpuidRegisters* found = dump.Find(change.leaf, 0);
            changed[change.leaf] = found != nullptr ? *found : Regs(0, 0, 0, 0);
        }
        platform::CpuidRegisters& registers = changed[change.leaf];
        std::uint32_t* fields[] = {&registers.eax, &registers.ebx, &registers.ecx, &registers.edx};
        *fields[change.reg] = change.value;
    }
    for (const auto& [leaf, registers] : changed) {
        recorded.Cpu().SetLeaf(leaf, registers);
    }
}

TEST(ProcessorName, LookupOfDerivedProcessors) {
    const struct {
        const char* name;
        RecordedLeaves leaves;
        std::vector<Change> changes;
        const char* expected;
    } cases[] = {
        // Intel: brand index first.
        {"brand index 3, signature 6B1", kTualatin, {kNoExtendedRange, {1, kEbx, 3}}, "Intel Celeron"},
        {"brand index 3, signature 6B4",
         kTualatin,
         {kNoExtendedRange, {1, kEbx, 3}, {1, kEax, 0x6B4}},
         "Intel Pentium III Xeon"},
        {"Tualatin, brand index 4", kTualatin, {kNoExtendedRange}, "Intel Pentium III"},
        {"Willamette, brand index 8, F0A", kWillamette, {kNoExtendedRange}, "Intel Pentium 4"},
        {"brand index 8, F12", kWillamette, {kNoExtendedRange, {1, kEax, 0xF12}}, "Intel Pentium 4"},
        {"brand index 8, F13", kWillamette, {kNoExtendedRange, {1, kEax, 0xF13}}, "Intel Geniune Processor"},
        // From F13 on brand index 9 reads "Intel Geniune Processor" (so spelt); `cpuid` names this
        // processor a Pentium 4 (Northwood) by its signature.
        {"Northwood, brand index 9, F24", kNorthwood, {kNoExtendedRange}, "Intel Geniune Processor"},
        {"Celeron Willamette, brand index 10", kCeleronWillamette, {kNoExtendedRange}, "Intel Celeron"},
        {"Gallatin, brand index 11, F25", kGallatin, {kNoExtendedRange}, "Intel Xeon"},
        {"brand index 11, F12", kGallatin, {kNoExtendedRange, {1, kEax, 0xF12}}, "Intel Xeon MP"},
        {"Mobile Pentium 4-M, brand index 14, F29",
         kMobilePentium4,
         {kNoExtendedRange},
         "Intel Mobile Pentium 4"},
        {"brand index 14, F12", kMobilePentium4, {kNoExtendedRange, {1, kEax, 0xF12}}, "Intel Xeon"},
        // Brand indexes from 16 on name nothing, and family 6 model 9 has no row.
        {"Banias, brand index 18", kBanias, {kNoExtendedRange}, "Intel x86 Family 6 Model 9 Stepping 5"},
        // Then family and model; family 6 by the level-2 size.
        {"Coppermine without brand index",
         kCoppermine,
         {{1, kEbx, 0}},
         "Intel x86 Family 6 Model 8 Stepping 3"},
        {"Deschutes with 0x41 (128 KB)", kDeschutes, {{2, kEdx, 0x0C040841}}, "Intel Pentium II"},
        {"Deschutes with 0x43 (512 KB)", kDeschutes, {{2, kEdx, 0x0C040843}}, "Intel Pentium II"},
        {"Mendocino with 0x40 (no level 2)", kMendocino, {{2, kEdx, 0x0C040840}}, "Intel Celeron"},
        // Feature 18 is the serial-number flag.
        {"Mendocino with 0x40 and feature 18",
         kMendocino,
         {{2, kEdx, 0x0C040840}, {1, kEdx, 0x0187F9FF}},
         "Intel Mobile Celeron"},
        {"Katmai with 0x44 (1 MB)", kKatmai, {{2, kEdx, 0x0C040844}}, "Intel Pentium III Xeon"},
        // AMD.
        {"K6-III", kSharptooth, {kNoExtendedRange}, "AMD K6 III"},
        {"K6", kK6, {kNoExtendedRange}, "AMD K6"},
        {"K5 as family 5 model 5 stepping 1", kK5, {{1, kEax, 0x551}}, "AMD x86 Family 5 Model 5 Stepping 1"},
        {"Thunderbird", kThunderbird, {kNoExtendedRange}, "AMD x86 Family 6 Model 4 Stepping 4"},
        // Cyrix, Via (IDT), Rise.
        {"MediaGXm", kMediaGXm, {kNoExtendedRange}, "Cyrix GXm"},
        // The "Via Cyrix III" rows are the Cyrix vendor's; this Via Cyrix III reports CentaurHauls.
        {"Samuel 2", kSamuel2, {kNoExtendedRange}, "Via x86 Family 6 Model 7 Stepping 3"},
        {"WinChip 2A", kWinChip2A, {kNoExtendedRange}, "IDT WinChip 2"},
        {"Rise as family 5 model 8", kLynx, {{1, kEax, 0x581}}, "Rise x86 Family 5 Model 8 Stepping 1"},
        // No NexGen or UMC processor was recorded: vendor identifications put on others.
        {"NexGenDriven family 5 model 0",
         kK5,
         {{0, kEbx, 0x4778654E}, {0, kEcx, 0x6E657669}, {0, kEdx, 0x72446E65}},
         "NexGen Nx586"},
        {"UMC family 4 model 2",
         k486,
         {{0, kEbx, 0x20434D55}, {0, kEcx, 0x20434D55}, {0, kEdx, 0x20434D55}, {1, kEax, 0x421}},
         "UMC U5D"},
        {"UMC family 4 model 8",
         k486,
         {{0, kEbx, 0x20434D55}, {0, kEcx, 0x20434D55}, {0, kEdx, 0x20434D55}},
         "UMC x86 Family 4 Model 8 Stepping 0"},
        // A vendor the library does not know.
        {"Virtual CPU", kVirtualCpu, {kNoExtendedRange}, "Unknown x86 Family 15 Model 4 Stepping 10"},
        // Transmeta: the Transmeta range alone decides, although the brand string is there.
        {"Crusoe with its range up to 0x80860005",
         kCrusoe,
         {{0x80860000, kEax, 0x80860005}},
         "Transmeta x86 Family 5 Model 4 Stepping 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.leaves);
        Apply(recorded, c.leaves, c.changes);
        const auto name = recorded.Processor()->Name();
        EXPECT_EQ(name->Name(), c.expected);
        EXPECT_TRUE(name->FromLookup()->Value());
    }
}

TEST(ProcessorName, IntelTableBoundaries) {
    const auto byModel = [](std::uint32_t model, std::uint32_t level2, bool serial = false,
                            std::uint32_t type = 0) {
        TNameFacts facts;
        facts.family = 6;
        facts.model = model;
        facts.type = type;
        facts.level2Size = level2;
        facts.serialFeature = serial;
        return IntelNameByModel(facts);
    };
    EXPECT_EQ(byModel(5, 0), "Intel Celeron");
    EXPECT_EQ(byModel(5, 127 * 1024), "Intel Celeron");
    EXPECT_EQ(byModel(5, 0x20000), "Intel Pentium II");
    EXPECT_EQ(byModel(5, 0xFFFFF), "Intel Pentium II");
    EXPECT_EQ(byModel(5, 0x100000), "Intel Pentium II Xeon");
    EXPECT_EQ(byModel(6, 0x1FFFF, true), "Intel Mobile Celeron");
    EXPECT_EQ(byModel(6, 0x1FFFF, false), "Intel Celeron");
    EXPECT_EQ(byModel(6, 0x20000, false), "Intel Mobile Pentium II");
    EXPECT_EQ(byModel(7, 0xFFFFF), "Intel Pentium III");
    EXPECT_EQ(byModel(7, 0x100000), "Intel Pentium III Xeon");
    EXPECT_EQ(byModel(3, 0, false, 1), "Intel Pentium II Overdrive");
    EXPECT_EQ(byModel(3, 0, false, 2), "Intel Pentium II");

    const auto byBrand = [](std::uint32_t index, std::uint32_t signature) {
        TNameFacts facts;
        facts.brandIndex = index;
        facts.signature = signature;
        return IntelNameByBrandIndex(facts);
    };
    EXPECT_EQ(byBrand(3, 0x6B1), "Intel Celeron");
    EXPECT_EQ(byBrand(3, 0x6B0), "Intel Pentium III Xeon");
    EXPECT_EQ(byBrand(9, 0xF12), "Intel Pentium 4");
    EXPECT_EQ(byBrand(9, 0xF13), "Intel Geniune Processor");
    EXPECT_EQ(byBrand(14, 0xF13), "Intel Mobile Pentium 4");
    for (const std::uint32_t empty : {0U, 5U, 13U, 16U, 255U}) {
        EXPECT_EQ(byBrand(empty, 0x6B1), "") << empty;
    }
}

} // namespace
} // namespace quelmo
