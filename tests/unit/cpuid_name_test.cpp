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

using testing::RecordedProcessor;
using testing::Regs;

TEST(ProcessorName, BrandStringTrimmed) {
    const struct {
        const char* dump;
        const char* name;
    } cases[] = {
        // Brand index 8 would give "Intel Pentium 4": the brand string wins.
        {"intel-pentium-4-willamette.txt", "Intel(R) Pentium(R) 4 CPU 1700MHz"},
        {"intel-celeron-willamette.txt", "Intel(R) Celeron(R) CPU 1.70GHz"},
        // DEL is above 32 and stays, as does everything between the first and last kept character.
        {"amd-athlon-xp-palomino.txt", "Athlon XP (Palomin\x7F?00+"},
        {"via-nano-isaiah.txt", "VIA CNA processor 1800MHz"},
        {"intel-pentium-iii-s-tualatin.txt", "Intel(R) Pentium(R) III CPU family      1266MHz"},
        {"idt-winchip-2a.txt", "IDT WinChip 2-3D"},
        {"qemu-virtual-cpu.txt", "QEMU Virtual CPU version (cpu64-rhel6)"},
        {"amd-k6.txt", "AMD-K6tm w/ multimedia extensions"},
        {"amd-ryzen-zen5-graniteridge.txt", "AMD Ryzen 7 9700X 8-Core Processor"},
        {"via-c7-esther.txt", "VIA Esther processor 1500MHz"},
        // Transmeta's name comes from 0x80860003-6, the Code Morphing Software's build text; Transmeta's
        // documents and `cpuid` use the brand string, "Transmeta(tm) Crusoe(tm) Processor TM5800".
        {"transmeta-crusoe-tm5800.txt", "20030618 15:27 official release 4.4.3#1"},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump);
        const auto name = recorded.Processor()->Name();
        EXPECT_EQ(name->Name(), c.name) << c.dump;
        EXPECT_FALSE(name->FromLookup()->Value()) << c.dump;
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
        RecordedProcessor recorded("intel-pentium-4-willamette.txt");
        recorded.Cpu().SetLeaf(c.leaf, c.registers);
        EXPECT_EQ(recorded.Processor()->Name()->Name(), c.expected) << c.name;
    }
    // A brand string of NUL characters trims to the empty text, which is the name.
    RecordedProcessor recorded("intel-pentium-4-willamette.txt");
    for (const std::uint32_t leaf : {0x80000002U, 0x80000003U, 0x80000004U}) {
        recorded.Cpu().SetLeaf(leaf, Regs(0, 0, 0, 0));
    }
    EXPECT_EQ(recorded.Processor()->Name()->Name(), "");
    EXPECT_FALSE(recorded.Processor()->Name()->FromLookup()->Value());
}

TEST(ProcessorName, BrandStringDetectionReadsAllLeavesAsRecorded) {
    RecordedProcessor recorded("transmeta-crusoe-tm5800.txt");
    const std::string transmeta = TProcessorNameDetect(0, true).Name();
    EXPECT_EQ(transmeta.size(), 64U);
    EXPECT_EQ(transmeta.substr(0, 40), std::string("20030618 15:27 official release 4.4.3#1\0", 40));
    const std::string brand = TProcessorNameDetect(0, false).Name();
    EXPECT_EQ(brand.size(), 48U);
    EXPECT_EQ(brand.substr(0, 42), std::string("Transmeta(tm) Crusoe(tm) Processor TM5800\0", 42));
}

TEST(ProcessorName, LookupOnRecordedProcessors) {
    const struct {
        const char* dump;
        const char* name;
    } cases[] = {
        {"intel-486dx4.txt", "Intel 80486DX4"},
        {"intel-pentium-p5.txt", "Intel Pentium"},
        {"intel-pentium-p54c.txt", "Intel Pentium"},
        {"intel-pentium-mmx-p55c.txt", "Intel Pentium MMX"},
        {"intel-pentium-overdrive-p24t.txt", "Intel Pentium Overdrive"},
        {"intel-pentium-pro.txt", "Intel Pentium Pro"},
        {"intel-pentium-ii-klamath.txt", "Intel Pentium II"},
        {"intel-pentium-ii-deschutes.txt", "Intel Pentium II Xeon"},
        {"intel-celeron-covington.txt", "Intel Celeron"},
        // Model 6 with 128 KB of level 2 (0x41) is a Celeron-A; only more makes a Mobile Pentium II.
        {"intel-celeron-mendocino.txt", "Intel Celeron"},
        {"intel-mobile-pentium-ii-dixon.txt", "Intel Mobile Pentium II"},
        {"intel-pentium-iii-katmai-psn.txt", "Intel Pentium III"},
        {"intel-pentium-iii-coppermine.txt", "Intel Pentium III"},
        {"intel-celeron-coppermine.txt", "Intel Celeron"},
        {"intel-pentium-iii-xeon-cascades.txt", "Intel Pentium III Xeon"},
        {"amd-k5-ssa5.txt", "AMD K5"},
        {"cyrix-6x86.txt", "Cyrix 6x86"},
        {"cyrix-6x86mx-mii.txt", "Cyrix 6x86MX"},
        {"idt-winchip-c6.txt", "IDT WinChip"},
        {"rise-mp6-kirin.txt", "Rise iDragon"},
        {"rise-mp6-lynx.txt", "Rise iDragon II"},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump);
        const auto name = recorded.Processor()->Name();
        EXPECT_EQ(name->Name(), c.name) << c.dump;
        EXPECT_TRUE(name->FromLookup()->Value()) << c.dump;
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

void Apply(RecordedProcessor& recorded, const char* file, const std::vector<Change>& changes) {
    const CpuDump dump = testing::RecordedDump(file);
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
        const char* dump;
        std::vector<Change> changes;
        const char* expected;
    } cases[] = {
        // Intel: brand index first.
        {"brand index 3, signature 6B1",
         "intel-pentium-iii-s-tualatin.txt",
         {kNoExtendedRange, {1, kEbx, 3}},
         "Intel Celeron"},
        {"brand index 3, signature 6B4",
         "intel-pentium-iii-s-tualatin.txt",
         {kNoExtendedRange, {1, kEbx, 3}, {1, kEax, 0x6B4}},
         "Intel Pentium III Xeon"},
        {"Tualatin, brand index 4",
         "intel-pentium-iii-s-tualatin.txt",
         {kNoExtendedRange},
         "Intel Pentium III"},
        {"Willamette, brand index 8, F0A",
         "intel-pentium-4-willamette.txt",
         {kNoExtendedRange},
         "Intel Pentium 4"},
        {"brand index 8, F12",
         "intel-pentium-4-willamette.txt",
         {kNoExtendedRange, {1, kEax, 0xF12}},
         "Intel Pentium 4"},
        {"brand index 8, F13",
         "intel-pentium-4-willamette.txt",
         {kNoExtendedRange, {1, kEax, 0xF13}},
         "Intel Geniune Processor"},
        // From F13 on brand index 9 reads "Intel Geniune Processor" (so spelt); `cpuid` names this
        // processor a Pentium 4 (Northwood) by its signature.
        {"Northwood, brand index 9, F24",
         "intel-pentium-4-northwood.txt",
         {kNoExtendedRange},
         "Intel Geniune Processor"},
        {"Celeron Willamette, brand index 10",
         "intel-celeron-willamette.txt",
         {kNoExtendedRange},
         "Intel Celeron"},
        {"Gallatin, brand index 11, F25", "intel-xeon-gallatin.txt", {kNoExtendedRange}, "Intel Xeon"},
        {"brand index 11, F12",
         "intel-xeon-gallatin.txt",
         {kNoExtendedRange, {1, kEax, 0xF12}},
         "Intel Xeon MP"},
        {"Mobile Pentium 4-M, brand index 14, F29",
         "intel-mobile-pentium-4-m.txt",
         {kNoExtendedRange},
         "Intel Mobile Pentium 4"},
        {"brand index 14, F12",
         "intel-mobile-pentium-4-m.txt",
         {kNoExtendedRange, {1, kEax, 0xF12}},
         "Intel Xeon"},
        // Brand indexes from 16 on name nothing, and family 6 model 9 has no row.
        {"Banias, brand index 18",
         "intel-celeron-m-banias.txt",
         {kNoExtendedRange},
         "Intel x86 Family 6 Model 9 Stepping 5"},
        // Then family and model; family 6 by the level-2 size.
        {"Coppermine without brand index",
         "intel-pentium-iii-coppermine.txt",
         {{1, kEbx, 0}},
         "Intel x86 Family 6 Model 8 Stepping 3"},
        {"Deschutes with 0x41 (128 KB)",
         "intel-pentium-ii-deschutes.txt",
         {{2, kEdx, 0x0C040841}},
         "Intel Pentium II"},
        {"Deschutes with 0x43 (512 KB)",
         "intel-pentium-ii-deschutes.txt",
         {{2, kEdx, 0x0C040843}},
         "Intel Pentium II"},
        {"Mendocino with 0x40 (no level 2)",
         "intel-celeron-mendocino.txt",
         {{2, kEdx, 0x0C040840}},
         "Intel Celeron"},
        // Feature 18 is the serial-number flag.
        {"Mendocino with 0x40 and feature 18",
         "intel-celeron-mendocino.txt",
         {{2, kEdx, 0x0C040840}, {1, kEdx, 0x0187F9FF}},
         "Intel Mobile Celeron"},
        {"Mendocino with feature 18",
         "intel-celeron-mendocino.txt",
         {{1, kEdx, 0x0187F9FF}},
         "Intel Mobile Celeron"},
        {"Mendocino with 0x42 (256 KB)",
         "intel-celeron-mendocino.txt",
         {{2, kEdx, 0x0C040842}},
         "Intel Mobile Pentium II"},
        {"Katmai with 0x44 (1 MB)",
         "intel-pentium-iii-katmai-psn.txt",
         {{2, kEdx, 0x0C040844}},
         "Intel Pentium III Xeon"},
        // AMD.
        {"K6-III", "amd-k6-iii-sharptooth.txt", {kNoExtendedRange}, "AMD K6 III"},
        {"K6", "amd-k6.txt", {kNoExtendedRange}, "AMD K6"},
        {"K5 as family 5 model 5 stepping 1",
         "amd-k5-ssa5.txt",
         {{1, kEax, 0x551}},
         "AMD x86 Family 5 Model 5 Stepping 1"},
        {"Thunderbird",
         "amd-athlon-thunderbird.txt",
         {kNoExtendedRange},
         "AMD x86 Family 6 Model 4 Stepping 4"},
        // Cyrix, Via (IDT), Rise.
        {"MediaGXm", "cyrix-mediagxm.txt", {kNoExtendedRange}, "Cyrix GXm"},
        // The "Via Cyrix III" rows are the Cyrix vendor's; this Via Cyrix III reports CentaurHauls.
        {"Samuel 2", "via-cyrix-iii-samuel2.txt", {kNoExtendedRange}, "Via x86 Family 6 Model 7 Stepping 3"},
        {"WinChip 2A", "idt-winchip-2a.txt", {kNoExtendedRange}, "IDT WinChip 2"},
        {"Rise as family 5 model 8",
         "rise-mp6-lynx.txt",
         {{1, kEax, 0x581}},
         "Rise x86 Family 5 Model 8 Stepping 1"},
        // No NexGen or UMC processor was recorded: vendor identifications put on others.
        {"NexGenDriven family 5 model 0",
         "amd-k5-ssa5.txt",
         {{0, kEbx, 0x4778654E}, {0, kEcx, 0x6E657669}, {0, kEdx, 0x72446E65}},
         "NexGen Nx586"},
        {"UMC family 4 model 2",
         "intel-486dx4.txt",
         {{0, kEbx, 0x20434D55}, {0, kEcx, 0x20434D55}, {0, kEdx, 0x20434D55}, {1, kEax, 0x421}},
         "UMC U5D"},
        {"UMC family 4 model 8",
         "intel-486dx4.txt",
         {{0, kEbx, 0x20434D55}, {0, kEcx, 0x20434D55}, {0, kEdx, 0x20434D55}},
         "UMC x86 Family 4 Model 8 Stepping 0"},
        // A vendor the library does not know.
        {"Virtual CPU",
         "virtual-cpu-x86-emulation.txt",
         {kNoExtendedRange},
         "Unknown x86 Family 15 Model 4 Stepping 10"},
        // Transmeta: the Transmeta range alone decides, although the brand string is there.
        {"Crusoe with its range up to 0x80860005",
         "transmeta-crusoe-tm5800.txt",
         {{0x80860000, kEax, 0x80860005}},
         "Transmeta x86 Family 5 Model 4 Stepping 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        Apply(recorded, c.dump, c.changes);
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
    EXPECT_EQ(byModel(6, 0x20000, false), "Intel Celeron");
    EXPECT_EQ(byModel(6, 0x20000, true), "Intel Mobile Celeron");
    EXPECT_EQ(byModel(6, 0x20001, false), "Intel Mobile Pentium II");
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
