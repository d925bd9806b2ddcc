// Cache detection on recorded processors: descriptors (command 2 on Intel, the extended leaves
// read as descriptor bytes on other vendors of the standard and combined styles), the sub-leaves
// of command 4 (Intel, when command 2 says 0xFF) and of 0x8000001D (AMD), and the fields of the
// extended leaves (AMD, Via, Transmeta). Expected values come from the dumps' headers and README,
// `cpuid`'s decoding of the same registers, and the vendors' documents; where the library's rules
// differ from those, the case says so. Derived processors change one leaf of a recorded one.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quelmo {
namespace {

using testing::RecordedProcessor;
using testing::Regs;

// One cache as the window shows it.
struct CacheExpect {
    std::uint32_t sizeKb;
    const char* associativity;
    std::uint32_t encoding;
    std::uint32_t lineSize;
};

constexpr CacheExpect kNo{0, "None", 0, 0};

struct AllCaches {
    CacheExpect code, data, unified, level2, level3, trace;
};

void ExpectCache(const CpuRef<ICpuCache>& cache, const CacheExpect& e, const char* kind) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(cache->Size()->Value(), e.sizeKb * 1024);
    EXPECT_EQ(cache->Available()->Value(), e.sizeKb != 0);
    EXPECT_EQ(cache->LineSize()->Value(), e.lineSize);
    const auto associativity = cache->Associativity();
    EXPECT_EQ(associativity->Text(), e.associativity);
    EXPECT_EQ(associativity->Encoding()->Value(), e.encoding);
}

void ExpectCaches(RecordedProcessor& recorded, const AllCaches& e) {
    const auto cache = recorded.Processor()->Cache();
    ExpectCache(cache->Level1()->Code(), e.code, "level-1 code");
    ExpectCache(cache->Level1()->Data(), e.data, "level-1 data");
    ExpectCache(cache->Level1()->Unified(), e.unified, "level-1 unified");
    ExpectCache(cache->Level2(), e.level2, "level 2");
    ExpectCache(cache->Level3(), e.level3, "level 3");
    ExpectCache(cache->Trace(), e.trace, "trace");
}

struct CacheCase {
    const char* name;
    const char* dump;
    std::optional<std::pair<std::uint32_t, platform::CpuidRegisters>> derived; // a leaf replaced
    AllCaches caches;
};

void ExpectEachCase(std::initializer_list<CacheCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        if (c.derived) {
            recorded.Cpu().SetLeaf(c.derived->first, c.derived->second);
        }
        ExpectCaches(recorded, c.caches);
    }
}

constexpr const char* kCovington = "intel-celeron-covington.txt"; // 0x40 (no level 2), 0x08, 0x0C
constexpr const char* kTulsa = "intel-xeon-mp-tulsa.txt";         // family 15 model 6
constexpr auto kNoLeaf = std::nullopt;

// The codes 6 and 8 mean 8 and 16 ways, 0xA 32, 0xC 64.
constexpr CacheExpect k8Way32{32, "8-Way", 6, 64};

TEST(CacheByDescriptor, RecordedAndDerivedProcessors) {
    ExpectEachCase({
        {"Covington: 0x40 says no level 2",
         kCovington,
         kNoLeaf,
         {{16, "4-Way", 4, 32}, {16, "4-Way", 4, 32}, kNo, kNo, kNo, kNo}},
        {"Covington with 0x2C, 0x30 and 0x7A in EDX",
         kCovington,
         {{2, Regs(0x03020101, 0, 0, 0x007A302C)}},
         {k8Way32, k8Way32, kNo, {256, "8-Way", 6, 64}, kNo, kNo}},
        // 0x40 comes after 0x3C in the table, so it wins; 0x43 comes after 0x40 and wins.
        {"Covington with 0x40, 0x3C",
         kCovington,
         {{2, Regs(0x03020101, 0, 0, 0x0C083C40)}},
         {{16, "4-Way", 4, 32}, {16, "4-Way", 4, 32}, kNo, kNo, kNo, kNo}},
        {"Covington with 0x40, 0x43",
         kCovington,
         {{2, Regs(0x03020101, 0, 0, 0x0C084340)}},
         {{16, "4-Way", 4, 32}, {16, "4-Way", 4, 32}, kNo, {512, "4-Way", 4, 32}, kNo, kNo}},
        // Intel counts the trace cache in micro-operations (12K-uop); the library shows the same
        // number in its KB unit. 0x40 here means "no level 3".
        {"Pentium 4 Willamette",
         "intel-pentium-4-willamette.txt",
         kNoLeaf,
         {kNo, {8, "4-Way", 4, 64}, kNo, {256, "8-Way", 6, 64}, kNo, {12, "8-Way", 6, 0}}},
        // Bit 31 set: EDX holds no descriptors, so only EAX's 0x66 remains.
        {"Willamette with bit 31 of EDX set",
         "intel-pentium-4-willamette.txt",
         {{2, Regs(0x665B5001, 0, 0, 0x807A7040)}},
         {kNo, {8, "4-Way", 4, 64}, kNo, kNo, kNo, kNo}},
        // Intel reads 0x40 as "no level 3" when a level 2 is reported; in the old part of the table
        // it comes after 0x39 and wins, so this Celeron shows no level 2 (as with 0x3C above).
        {"Celeron Willamette",
         "intel-celeron-willamette.txt",
         kNoLeaf,
         {kNo, {8, "4-Way", 4, 64}, kNo, kNo, kNo, {12, "8-Way", 6, 0}}},
        {"Xeon Gallatin",
         "intel-xeon-gallatin.txt",
         kNoLeaf,
         {kNo, {8, "4-Way", 4, 64}, kNo, {512, "8-Way", 6, 64}, {1024, "8-Way", 6, 64}, {12, "8-Way", 6, 0}}},
        {"Pentium Pro",
         "intel-pentium-pro.txt",
         kNoLeaf,
         {{8, "4-Way", 4, 32}, {8, "2-Way", 2, 32}, kNo, {256, "4-Way", 4, 32}, kNo, kNo}},
        {"Deschutes: 0x44",
         "intel-pentium-ii-deschutes.txt",
         kNoLeaf,
         {{16, "4-Way", 4, 32}, {16, "4-Way", 4, 32}, kNo, {1024, "4-Way", 4, 32}, kNo, kNo}},
        // The other descriptors Intel documents, after the old rows: 0x49 (4 MB, 16-way level 2
        // except on the family-15-model-6 Xeon MP, where it is a level 3), 0x7D (2 MB, 8-way),
        // 0x60 (16 KB, 8-way level-1 data), 0x4D (16 MB, 16-way level 3).
        {"Core 2 Extreme Conroe: 0x49",
         "intel-core2-extreme-conroe.txt",
         kNoLeaf,
         {k8Way32, k8Way32, kNo, {4096, "16-Way", 8, 64}, kNo, kNo}},
        {"Core Duo Yonah: 0x7D",
         "intel-core-duo-yonah.txt",
         kNoLeaf,
         {k8Way32, k8Way32, kNo, {2048, "8-Way", 6, 64}, kNo, kNo}},
        {"Pentium M Dothan: 0x7D",
         "intel-pentium-m-dothan.txt",
         kNoLeaf,
         {k8Way32, k8Way32, kNo, {2048, "8-Way", 6, 64}, kNo, kNo}},
        // QEMU's command 4 says 4 MB; command 2 without 0xFF decides.
        {"QEMU: 0x7D",
         "qemu-virtual-cpu.txt",
         kNoLeaf,
         {k8Way32, k8Way32, kNo, {2048, "8-Way", 6, 64}, kNo, kNo}},
        {"Pentium 4 Prescott: 0x60",
         "intel-pentium-4-prescott.txt",
         kNoLeaf,
         {kNo, {16, "8-Way", 6, 64}, kNo, {1024, "8-Way", 6, 64}, kNo, {12, "8-Way", 6, 0}}},
        {"Xeon MP Tulsa: 0x4D",
         kTulsa,
         kNoLeaf,
         {kNo,
          {16, "8-Way", 6, 64},
          kNo,
          {1024, "8-Way", 6, 64},
          {16384, "16-Way", 8, 64},
          {12, "8-Way", 6, 0}}},
        {"Tulsa with 0x49 for 0x4D",
         kTulsa,
         {{2, Regs(0x605B5001, 0, 0, 0x007C7049)}},
         {kNo,
          {16, "8-Way", 6, 64},
          kNo,
          {1024, "8-Way", 6, 64},
          {4096, "16-Way", 8, 64},
          {12, "8-Way", 6, 0}}},
        {"Tulsa with 0x4E and 0xEC",
         kTulsa,
         {{2, Regs(0x605B5001, 0, 0, 0x00EC704E)}},
         {kNo,
          {16, "8-Way", 6, 64},
          kNo,
          {6144, "24-Way", 24, 64},
          {24576, "24-Way", 24, 64},
          {12, "8-Way", 6, 0}}},
        {"486DX4 without command 2", "intel-486dx4.txt", kNoLeaf, {kNo, kNo, kNo, kNo, kNo, kNo}},
        // Cyrix's combined style reads descriptors, and from a vendor other than Intel they come from
        // 0x80000005: Cyrix's 0x70 (a TLB in Cyrix's documents) becomes a 12 KB trace cache, and its
        // 0x80 (16 KB unified level 1 for Cyrix and `cpuid`) matches no level-1 row.
        {"MediaGXm", "cyrix-mediagxm.txt", kNoLeaf, {kNo, kNo, kNo, kNo, kNo, {12, "8-Way", 6, 0}}},
        // An unknown vendor's 0x80000006 (256 KB level 2 for `cpuid`) read as descriptor bytes holds
        // 0x40: no level 2 and no level 3; its command 2 (0xFF) is not read.
        {"GenuineIotel", "intel-xeon-haswell-genuineiotel.txt", kNoLeaf, {kNo, kNo, kNo, kNo, kNo, kNo}},
    });
}

TEST(CacheByCommand4, IntelProcessorsWhoseCommand2SaysFF) {
    const CacheExpect l1{32, "8-Way", 6, 64};
    const CacheExpect l1Data48{48, "12-Way", 12, 64};
    ExpectEachCase({
        {"Core i5-2400 Sandy Bridge",
         "intel-core-i5-sandybridge.txt",
         kNoLeaf,
         {l1, l1, kNo, {256, "8-Way", 6, 64}, {6144, "12-Way", 12, 64}, kNo}},
        {"Core i7-4770 Haswell",
         "intel-core-i7-haswell.txt",
         kNoLeaf,
         {l1, l1, kNo, {256, "8-Way", 6, 64}, {8192, "16-Way", 8, 64}, kNo}},
        {"Core i7-8700K Coffee Lake",
         "intel-core-i7-coffeelake.txt",
         kNoLeaf,
         {l1, l1, kNo, {256, "4-Way", 4, 64}, {12288, "16-Way", 8, 64}, kNo}},
        {"Core i7-13700K Raptor Lake",
         "intel-core-i7-raptorlake.txt",
         kNoLeaf,
         {l1, l1Data48, kNo, {2048, "16-Way", 8, 64}, {30720, "12-Way", 12, 64}, kNo}},
        {"Core Ultra 5 245K Arrow Lake",
         "intel-core-ultra-arrowlake.txt",
         kNoLeaf,
         {{64, "16-Way", 8, 64}, l1Data48, kNo, {3072, "12-Way", 12, 64}, {24576, "12-Way", 12, 64}, kNo}},
        // EAX bit 9 of a sub-leaf: fully associative.
        {"Sandy Bridge with a fully associative level-1 data cache",
         "intel-core-i5-sandybridge.txt",
         {{4, Regs(0x1C004321, 0x01C0003F, 0x3F, 0)}},
         {l1, {32, "Full", 0xF, 64}, kNo, {256, "8-Way", 6, 64}, {6144, "12-Way", 12, 64}, kNo}},
        // Without command 4 (standard maximum 3) 0xFF describes nothing.
        {"Sandy Bridge up to command 3",
         "intel-core-i5-sandybridge.txt",
         {{0, Regs(3, 0x756E6547, 0x6C65746E, 0x49656E69)}},
         {kNo, kNo, kNo, kNo, kNo, kNo}},
    });
}

TEST(CacheByDescriptor, CommandTwoRunsAsOftenAsItsFirstAnswerSays) {
    const struct {
        const char* name;
        const char* dump;
        std::optional<platform::CpuidRegisters> leaf2;
        std::uint32_t executions; // of command 2 for one descriptor set
        std::uint32_t codeKb;
    } cases[] = {
        {"Covington: once, then once more", kCovington, std::nullopt, 2, 16},
        {"derived: a count of 3", kCovington, Regs(0x03020103, 0, 0, 0x0C040840), 4, 16},
        // A count of 0 runs the second query zero times, which leaves every register 0.
        {"derived: a count of 0", kCovington, Regs(0x03020100, 0, 0, 0x0C040840), 1, 0},
        {"486DX4: command 2 unavailable", "intel-486dx4.txt", std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        if (c.leaf2) {
            recorded.Cpu().SetLeaf(2, *c.leaf2);
        }
        const std::uint32_t before = recorded.Cpu().Executions(2);
        const TCacheByDescriptor code(0, kCacheCode);
        EXPECT_EQ(recorded.Cpu().Executions(2) - before, c.executions);
        EXPECT_EQ(code.Size()->Value(), c.codeKb * 1024);
    }
}

TEST(CacheByDescriptor, DescriptorPositionsAndSearch) {
    RecordedProcessor recorded(kCovington);
    const TCpuCacheDescriptors descriptors(0, kCacheLevel2);
    // EAX 03020101 and EDX 0C040840, lowest byte first; EBX and ECX are empty.
    const std::uint32_t expected[17] = {0, 0x01, 0x01, 0x02, 0x03, 0,    0,    0,   0,
                                        0, 0,    0,    0,    0x40, 0x08, 0x04, 0x0C};
    for (std::uint32_t position = 1; position <= 16; ++position) {
        EXPECT_EQ(descriptors.Descriptor(position), expected[position]) << position;
    }
    EXPECT_EQ(descriptors.Descriptor(0), 0U);
    EXPECT_EQ(descriptors.Descriptor(17), 0U);
    EXPECT_TRUE(descriptors.HasDescriptor(0x40)->Value());
    EXPECT_FALSE(descriptors.HasDescriptor(0x41)->Value());
    EXPECT_TRUE(descriptors.HasDescriptor(0)->Value()); // the empty entries
    EXPECT_FALSE(descriptors.HasDescriptor(0x140)->Value());
}

TEST(CacheByDescriptor, OtherVendorsReadTheExtendedLeafOfTheKind) {
    RecordedProcessor recorded("cyrix-mediagxm.txt");
    // Level 1 and trace: 0x80000005, whose EBX 00007001 and ECX 00000080 fill positions 5, 6 and 9.
    for (const std::uint8_t kind : {kCacheCode, kCacheData, kCacheUnified, kCacheTrace}) {
        const TCpuCacheDescriptors descriptors(0, kind);
        EXPECT_EQ(descriptors.Descriptor(5), 0x01U) << int{kind};
        EXPECT_EQ(descriptors.Descriptor(6), 0x70U) << int{kind};
        EXPECT_EQ(descriptors.Descriptor(9), 0x80U) << int{kind};
    }
    // Levels 2 and 3: 0x80000006, beyond this processor's extended range, so nothing.
    for (const std::uint8_t kind : {kCacheLevel2, kCacheLevel3}) {
        const TCpuCacheDescriptors descriptors(0, kind);
        EXPECT_FALSE(descriptors.HasDescriptor(0x70)->Value()) << int{kind};
    }
    const std::uint32_t leaf2Before = recorded.Cpu().Executions(2);
    recorded.Processor()->Cache()->Level2();
    EXPECT_EQ(recorded.Cpu().Executions(2), leaf2Before);
}

TEST(CacheByDescriptor, NoDescriptorMakesAUnifiedLevelOneCache) {
    // Derived from the Covington: command 2 reports each byte value alone in EBX.
    RecordedProcessor recorded(kCovington);
    std::uint32_t codeCaches = 0;
    for (std::uint32_t value = 0; value < 256; ++value) {
        recorded.Cpu().SetLeaf(2, Regs(0x00000001, value, 0, 0));
        const auto level1 = recorded.Processor()->Cache()->Level1();
        EXPECT_FALSE(level1->Unified()->Available()->Value()) << value;
        codeCaches += level1->Code()->Available()->Value() ? 1 : 0;
    }
    EXPECT_EQ(codeCaches, 4U); // 0x06, 0x08, 0x09, 0x30
}

constexpr const char* kThunderbird = "amd-athlon-thunderbird.txt";
constexpr const char* kSpitfire = "amd-duron-spitfire.txt"; // 6/3/0: 1 KB of level 2 (erratum)
constexpr const char* kApplebred = "amd-duron-applebred.txt";
constexpr const char* kSharptooth = "amd-k6-iii-sharptooth.txt";
constexpr const char* kAgena = "amd-phenom-agena.txt";
constexpr const char* kSamuel2 = "via-cyrix-iii-samuel2.txt";
constexpr const char* kNehemiah = "via-c3-nehemiah.txt";
constexpr const char* kEsther = "via-c7-esther.txt";
constexpr const char* kNano = "via-nano-isaiah.txt";
// A recorded AMD processor's 0x80000001 with the topology extensions (ECX bit 22) cleared, so
// that the extended fields decide instead of 0x8000001D.
std::pair<std::uint32_t, platform::CpuidRegisters> WithoutTopology(const char* dump) {
    platform::CpuidRegisters registers = *testing::RecordedDump(dump).Find(0x80000001);
    registers.ecx &= ~(1U << 22);
    return {0x80000001, registers};
}

TEST(CacheByExtendedCpuid, RecordedProcessors) {
    const CacheExpect k64x2{64, "2-Way", 2, 64};
    const CacheExpect k8WayL1{32, "8-Way", 6, 64};
    ExpectEachCase({
        // AMD family 6 shows "16-Way" for level 2 whatever the leaf says (here it says 16-way too).
        {"Thunderbird", kThunderbird, kNoLeaf, {k64x2, k64x2, kNo, {256, "16-Way", 8, 64}, kNo, kNo}},
        // The erratum's 1 KB is shown as reported (DuronCache flags the processor).
        {"Duron Spitfire", kSpitfire, kNoLeaf, {k64x2, k64x2, kNo, {1, "16-Way", 8, 64}, kNo, kNo}},
        {"Duron Applebred", kApplebred, kNoLeaf, {k64x2, k64x2, kNo, {64, "16-Way", 8, 64}, kNo, kNo}},
        {"K6-2 Chomper",
         "amd-k6-2-chomper.txt",
         kNoLeaf,
         {{32, "2-Way", 2, 32}, {32, "2-Way", 2, 32}, kNo, kNo, kNo, kNo}},
        {"K6-III Sharptooth",
         kSharptooth,
         kNoLeaf,
         {{32, "2-Way", 2, 32}, {32, "2-Way", 2, 32}, kNo, {256, "4-Way", 4, 32}, kNo, kNo}},
        {"K5 5k86",
         "amd-k5-5k86.txt",
         kNoLeaf,
         {{16, "4-Way", 4, 32}, {8, "4-Way", 4, 32}, kNo, kNo, kNo, kNo}},
        {"K5 SSA/5", "amd-k5-ssa5.txt", kNoLeaf, {kNo, kNo, kNo, kNo, kNo, kNo}},
        // AMD's level 3 in 0x80000006 EDX: 512 KB units, the associativity code of the level-2 table.
        {"Phenom Agena",
         kAgena,
         kNoLeaf,
         {k64x2, k64x2, kNo, {512, "16-Way", 8, 64}, {2048, "32-Way", 0xA, 64}, kNo}},
        {"Phenom II Deneb",
         "amd-phenom-ii-deneb.txt",
         kNoLeaf,
         {k64x2, k64x2, kNo, {512, "16-Way", 8, 64}, {6144, "48-Way", 0xB, 64}, kNo}},
        // Level 1 reports ways as a plain count: 8 ways is "8-Way" (code 6), 0xFF "Full".
        // Level 3 in 0x80000006 EDX is the whole package's; 0x8000001D gives each core's share.
        {"Ryzen 7 1800X without 0x8000001D",
         "amd-ryzen-zen1-summitridge.txt",
         WithoutTopology("amd-ryzen-zen1-summitridge.txt"),
         {{64, "4-Way", 4, 64}, k8WayL1, kNo, {512, "8-Way", 6, 64}, {16384, "16-Way", 8, 64}, kNo}},
        {"EPYC 7401P without 0x8000001D",
         "amd-epyc-hyperv-guest.txt",
         WithoutTopology("amd-epyc-hyperv-guest.txt"),
         {{64, "4-Way", 4, 64}, k8WayL1, kNo, {512, "8-Way", 6, 64}, {65536, "64-Way", 0xC, 64}, kNo}},
        // Code 9 sends the reader to 0x8000001D; without it the code reads as it stands.
        {"Ryzen 5 7600X without 0x8000001D",
         "amd-ryzen-zen4-raphael.txt",
         WithoutTopology("amd-ryzen-zen4-raphael.txt"),
         {k8WayL1, k8WayL1, kNo, {1024, "8-Way", 6, 64}, {32768, "9-Way", 9, 64}, kNo}},
        // 12 ways have no code: the count itself.
        {"Ryzen 7 9700X without 0x8000001D",
         "amd-ryzen-zen5-graniteridge.txt",
         WithoutTopology("amd-ryzen-zen5-graniteridge.txt"),
         {k8WayL1, {48, "12-Way", 12, 64}, kNo, {1024, "16-Way", 8, 64}, {32768, "9-Way", 9, 64}, kNo}},
        {"Crusoe TM5800",
         "transmeta-crusoe-tm5800.txt",
         kNoLeaf,
         {{64, "8-Way", 6, 64}, {64, "16-Way", 8, 32}, kNo, {512, "4-Way", 4, 128}, kNo, kNo}},
        // Bit 31 is part of the size field here: 0x80 = 128 KB.
        {"Efficeon TM8000",
         "transmeta-efficeon-tm8000.txt",
         kNoLeaf,
         {{128, "4-Way", 4, 64}, {64, "8-Way", 6, 32}, kNo, {1024, "4-Way", 4, 128}, kNo, kNo}},
        // Samuel 2 lays out its level-2 ECX like a level-1 register: 64 KB in bits 24-31, 4 ways
        // in bits 16-23.
        {"Samuel 2",
         kSamuel2,
         kNoLeaf,
         {{64, "4-Way", 4, 32}, {64, "4-Way", 4, 32}, kNo, {64, "4-Way", 4, 32}, kNo, kNo}},
        {"Nehemiah",
         kNehemiah,
         kNoLeaf,
         {{64, "4-Way", 4, 32}, {64, "4-Way", 4, 32}, kNo, {64, "16-Way", 8, 32}, kNo, kNo}},
        {"C7 Esther: code 0xA",
         kEsther,
         kNoLeaf,
         {{64, "4-Way", 4, 64}, {64, "4-Way", 4, 64}, kNo, {128, "32-Way", 0xA, 64}, kNo, kNo}},
        {"Nano Isaiah",
         kNano,
         kNoLeaf,
         {{64, "16-Way", 8, 64}, {64, "16-Way", 8, 64}, kNo, {1024, "16-Way", 8, 64}, kNo, kNo}},
        {"WinChip 2A",
         "idt-winchip-2a.txt",
         kNoLeaf,
         {{32, "2-Way", 2, 32}, {32, "4-Way", 4, 32}, kNo, kNo, kNo, kNo}},
    });
}

TEST(CacheByCommand8000001D, AmdProcessorsWithTopologyExtensions) {
    const CacheExpect l1{32, "8-Way", 6, 64};
    const CacheExpect code64{64, "4-Way", 4, 64};
    ExpectEachCase({
        {"Ryzen 7 1800X",
         "amd-ryzen-zen1-summitridge.txt",
         kNoLeaf,
         {code64, l1, kNo, {512, "8-Way", 6, 64}, {8192, "16-Way", 8, 64}, kNo}},
        {"EPYC 7401P under Hyper-V",
         "amd-epyc-hyperv-guest.txt",
         kNoLeaf,
         {code64, l1, kNo, {512, "8-Way", 6, 64}, {8192, "16-Way", 8, 64}, kNo}},
        {"Ryzen 5 7600X",
         "amd-ryzen-zen4-raphael.txt",
         kNoLeaf,
         {l1, l1, kNo, {1024, "8-Way", 6, 64}, {32768, "16-Way", 8, 64}, kNo}},
        {"Ryzen 7 9700X",
         "amd-ryzen-zen5-graniteridge.txt",
         kNoLeaf,
         {l1, {48, "12-Way", 12, 64}, kNo, {1024, "16-Way", 8, 64}, {32768, "16-Way", 8, 64}, kNo}},
    });
}

TEST(CacheByExtendedCpuid, ViaLevelTwoSizeFieldByModel) {
    const struct {
        const char* name;
        const char* dump;
        std::uint32_t signature; // derived: replaces command 1's EAX; 0 keeps the recorded one
        std::uint32_t level2Kb;
    } cases[] = {
        {"Samuel 2 (6/7): ECX bits 24-31", kSamuel2, 0, 64},
        {"Ezra-T (6/8), derived from Samuel 2: bits 24-31", kSamuel2, 0x683, 64},
        // The same register read as every other processor reads it: bits 16-31 = 0x4004, which is
        // also what `cpuid` shows for the Samuel 2.
        {"Samuel 1 (6/6), derived from Samuel 2: bits 16-31", kSamuel2, 0x663, 16388},
        {"Nehemiah (6/9): bits 16-31", kNehemiah, 0, 64},
        {"Nehemiah as model 7, derived: bits 24-31 hold 0", kNehemiah, 0x673, 0},
        {"C7 Esther (6/10): bits 16-31", kEsther, 0, 128},
        {"Nano Isaiah (6/15): bits 16-31", kNano, 0, 1024},
        // The Via rule is Via's alone: an AMD family 6 model 7 (Duron Morgan) reads bits 16-31.
        {"Applebred as model 7, derived: bits 16-31", kApplebred, 0x671, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        if (c.signature != 0) {
            auto command1 = *testing::RecordedDump(c.dump).Find(1);
            command1.eax = c.signature;
            recorded.Cpu().SetLeaf(1, command1);
        }
        const auto level2 = recorded.Processor()->Cache()->Level2();
        EXPECT_EQ(level2->Size()->Value(), c.level2Kb * 1024);
        EXPECT_EQ(level2->Available()->Value(), c.level2Kb != 0);
    }
}

TEST(CacheByExtendedCpuid, AmdFamilySixLevelTwoIsSixteenWay) {
    const struct {
        const char* name;
        const char* dump;
        std::uint32_t level2Ecx; // derived: replaces 0x80000006 ECX; 0 keeps the recorded one
        const char* text;
        std::uint32_t encoding;
    } cases[] = {
        {"Thunderbird", kThunderbird, 0, "16-Way", 8},
        {"Thunderbird reporting 4-way, derived", kThunderbird, 0x01004140, "16-Way", 8},
        {"Spitfire reporting code 0, derived", kSpitfire, 0x00010140, "16-Way", 8},
        // Family 5 and family 16 read the field.
        {"K6-III", kSharptooth, 0, "4-Way", 4},
        {"Phenom reporting 8-way, derived", kAgena, 0x02006140, "8-Way", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        if (c.level2Ecx != 0) {
            recorded.Cpu().SetLeaf(0x80000006, Regs(0, 0, c.level2Ecx, 0));
        }
        const auto associativity = recorded.Processor()->Cache()->Level2()->Associativity();
        EXPECT_EQ(associativity->Text(), c.text);
        EXPECT_EQ(associativity->Encoding()->Value(), c.encoding);
    }
}

TEST(CacheByExtendedCpuid, ACacheOfSizeZeroHasNoLineOrAssociativity) {
    // Derived from the Thunderbird: the sizes cleared, ways and line sizes kept.
    RecordedProcessor recorded(kThunderbird);
    recorded.Cpu().SetLeaf(0x80000005, Regs(0x0408FF08, 0xFF18FF10, 0x00020140, 0x00020140));
    recorded.Cpu().SetLeaf(0x80000006, Regs(0, 0x41004100, 0x00008140, 0));
    ExpectCaches(recorded, {kNo, kNo, kNo, kNo, kNo, kNo});
}

TEST(CacheAssociativity, CodesAndWayCounts) {
    const struct {
        std::uint32_t code;
        const char* text;
    } codes[] = {
        {0, "None"},
        {1, "Direct"},
        {2, "2-Way"},
        {4, "4-Way"},
        {6, "8-Way"},
        {8, "16-Way"},
        {0xA, "32-Way"},
        {0xB, "48-Way"},
        {0xC, "64-Way"},
        {0xD, "96-Way"},
        {0xE, "128-Way"},
        {0xF, "Full"},
        // Reserved codes: the value itself.
        {3, "3-Way"},
        {9, "9-Way"},
    };
    for (const auto& c : codes) {
        EXPECT_EQ(CacheAssociativityOfCode(c.code)->Text(), c.text) << c.code;
        EXPECT_EQ(CacheAssociativityOfCode(c.code)->Encoding()->Value(), c.code) << c.code;
    }
    const struct {
        std::uint32_t ways;
        const char* text;
        std::uint32_t encoding;
    } ways[] = {
        {0, "None", 0},
        {1, "Direct", 1},
        {2, "2-Way", 2},
        {4, "4-Way", 4},
        {8, "8-Way", 6},
        {16, "16-Way", 8},
        {32, "32-Way", 0xA},
        {128, "128-Way", 0xE},
        {kFullyAssociative, "Full", 0xF},
        // No code for these counts: the count itself.
        {12, "12-Way", 12},
        {24, "24-Way", 24},
        {0x1234, "4660-Way", 0x1234},
    };
    for (const auto& w : ways) {
        EXPECT_EQ(CacheAssociativityOfWays(w.ways)->Text(), w.text) << w.ways;
        EXPECT_EQ(CacheAssociativityOfWays(w.ways)->Encoding()->Value(), w.encoding) << w.ways;
    }
    // A row index past the table reads as "None"; the first seven keep their indexes.
    EXPECT_EQ(TCpuCacheAssociativity(12).Text(), "None");
    EXPECT_EQ(TCpuCacheAssociativity(6).Text(), "Full");
}

TEST(ProcessorCache, EachProcessorAnswersFromItsOwnRegisters) {
    // Two processors of different kinds in one machine: the Thunderbird as processor 1.
    RecordedProcessor recorded(kApplebred, 2);
    recorded.Cpu().SetProcessorDump(1, testing::RecordedDump(kThunderbird));
    EXPECT_EQ(recorded.Processor(0)->Cache()->Level2()->Size()->Value(), 64U * 1024);
    EXPECT_EQ(recorded.Processor(1)->Cache()->Level2()->Size()->Value(), 256U * 1024);
    EXPECT_EQ(recorded.Processor(1)->Cache()->Level1()->Data()->Size()->Value(), 64U * 1024);
    EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
}

} // namespace
} // namespace quelmo
