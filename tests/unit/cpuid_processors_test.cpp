// Real processors, replayed from their recorded registers. Expected values come from the dump's
// header and the README table of cpuid-dumps/, the vendors' documents, and Debian's `cpuid`
// tool's decoding of the same dump; where this library's rules deliberately differ from the
// vendors' documents, the case says so.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using testing::RecordedLeaves;
using testing::RecordedProcessor;

// 2x Intel Pentium IIIE, 733 MHz (Coppermine): brand id 2, processor serial number.
constexpr RecordedLeaves kCoppermine{"intel-pentium-iii-coppermine.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000683 00000002 00000000 0387FBFF
00000002 03020101 00000000 00000000 0C040882
00000003 00000000 00000000 6107FB5A 0000E4CA
)"};

// Mobile Intel Pentium 4 - M 2.20GHz (Northwood): signature F29, brand id 14.
constexpr RecordedLeaves kMobilePentium4{"intel-mobile-pentium-4-m.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00000F29 0001080E 00004400 BFEBF9FF
00000002 665B5101 00000000 00000000 007B7040
80000000 80000004 00000000 00000000 00000000
80000001 00000000 00000000 00000000 00000000
80000002 4D202020 6C69626F 6E492065 286C6574
80000003 50202952 69746E65 52286D75 20342029
80000004 204D202D 20555043 30322E32 007A4847
)"};

// DualCore Intel Core 2 Extreme X6800 (Conroe): base model 15.
constexpr RecordedLeaves kConroe{"intel-core2-extreme-conroe.txt", R"(
00000000 0000000A 756E6547 6C65746E 49656E69
00000001 000006F6 00020800 0000E3BD BFEBFBFF
00000002 05B0B101 005657F0 00000000 2CB43049
80000000 80000008 00000000 00000000 00000000
80000001 00000000 00000000 00000001 20100000
80000002 65746E49 2952286C 726F4320 4D542865
80000003 43203229 20205550 20202020 58202020
80000004 30303836 20402020 33392E32 007A4847
80000007 00000000 00000000 00000000 00000000
)"};

// AMD Athlon XP 3200+ (Barton).
constexpr RecordedLeaves kBarton{"amd-athlon-xp-barton.txt", R"(
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
)"};

// 2x AMD Opteron 240 (SledgeHammer): family 15 model 5, leaf 1 EBX low byte 0x81.
constexpr RecordedLeaves kSledgeHammer{"amd-opteron-sledgehammer.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000F51 00000881 00000000 078BFBFF
80000000 80000018 68747541 444D4163 69746E65
80000001 00000F51 00000000 00000000 E1D3FBFF
80000002 20444D41 6574704F 286E6F72 20296D74
80000003 636F7250 6F737365 34322072 45482030
80000004 00000000 00000000 00000000 00000000
80000005 FF08FF08 FF20FF20 40020140 40020140
80000006 00000000 42004200 04008140 00000000
80000007 00000000 00000000 00000000 00000009
)"};

// AMD K8 (Orleans): signature 00050FF3, 0x80000001 EBX = 0x4C3.
constexpr RecordedLeaves kOrleans{"amd-k8-orleans.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00050FF3 00000800 00002001 078BFBFF
80000000 80000018 68747541 444D4163 69746E65
80000001 00050FF3 000004C3 0000001D EBD3FBFF
80000002 20444D41 636F7250 6F737365 6F6D2072
80000003 206C6564 6E6B6E75 006E776F 00000000
80000004 00000000 00000000 00000000 00000000
80000005 FF08FF08 FF20FF20 40020140 40020140
80000006 00000000 42004200 04008140 00000000
)"};

// OctalCore AMD Ryzen 7 1800X (Summit Ridge): family 0x17, 16 logical processors.
constexpr RecordedLeaves kSummitRidge{"amd-ryzen-zen1-summitridge.txt", R"(
00000000 0000000D 68747541 444D4163 69746E65
00000001 00800F11 00100800 7ED8320B 178BFBFF
80000000 8000001F 68747541 444D4163 69746E65
80000001 00800F11 20000000 35C233FF 2FD3FBFF
80000002 20444D41 657A7952 2037206E 30303831
80000003 69452058 2D746867 65726F43 6F725020
80000004 73736563 2020726F 20202020 00202020
80000005 FF40FF40 FF40FF40 20080140 40040140
80000006 26006400 66006400 02006140 00808140
80000007 00000000 0000001B 00000000 00006599
)"};

// AMD K5 SSA/5, 75 MHz: family 5 model 0, leaves 0-1 only.
constexpr RecordedLeaves kK5{"amd-k5-ssa5.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000500 00000000 00000000 000003BF
)"};

// Transmeta Crusoe TM5800, 1000 MHz: extended range up to 0x80000006 only.
constexpr RecordedLeaves kCrusoe{"transmeta-crusoe-tm5800.txt", R"(
00000000 00000003 756E6547 3638784D 54656E69
00000001 00000543 00000000 00000000 0084893F
80000000 80000006 6E617254 55504361 74656D73
80000001 00000543 00000000 00000000 0081813F
80000005 00000000 04FF04FF 40100120 40080140
80000006 00000000 00000000 02004180 00000000
80860000 80860007 6E617254 55504361 74656D73
80860003 33303032 38313630 3A353120 6F203732
80860004 63696666 206C6169 656C6572 20657361
80860005 2E342E34 00312333 00000000 00000000
80860006 00000000 00000000 00000000 00000000
)"};

// Transmeta Efficeon TM86x0, 1000 MHz (Astro).
constexpr RecordedLeaves kEfficeon{"transmeta-efficeon-tm8000.txt", R"(
00000000 00000003 756E6547 3638784D 54656E69
00000001 00000F24 00011000 00000000 2FCFF9FF
80000000 80000008 6E617254 55504361 74656D73
80000001 00000F24 00000000 00000000 01C3F1FF
80000005 00000000 04FF04FF 40080120 80040140
80000006 00000000 00000000 04004180 00000000
80000007 00000000 00000000 00000000 00000000
80860000 80860007 6E617254 55504361 74656D73
80860003 34303032 33323730 3A303220 6F203134
80860004 63696666 206C6169 656C6572 20657361
80860005 2E302E36 00362334 00000000 00000000
80860006 00000000 00000000 00000000 00000000
)"};

// Cyrix MediaGXm, 233 MHz.
constexpr RecordedLeaves kMediaGXm{"cyrix-mediagxm.txt", R"(
00000000 00000002 69727943 64616574 736E4978
00000001 00000540 00000000 00000000 00808131
80000000 80000005 00000000 00000000 00000000
80000001 00000540 00000000 00000000 01818131
80000002 69727943 654D2078 47616964 206D7458
80000003 74584D4D 6E45206D 636E6168 00006465
80000004 00000000 00000000 00000000 00000000
80000005 00000000 00007001 00000080 00000000
)"};

// QuadCore Intel Xeon E3-1231 v3 (Haswell) reporting "GenuineIotel".
constexpr RecordedLeaves kGenuineIotel{"intel-xeon-haswell-genuineiotel.txt", R"(
00000000 0000000D 756E6547 6C65746F 49656E69
00000001 000306C3 00100800 7FFAFBFF BFEBFBFF
80000000 80000008 00000000 00000000 00000000
80000001 00000000 00000000 00000021 2C100800
80000002 65746E49 2952286C 6F655820 2952286E
80000003 55504320 2D334520 31333231 20337620
80000004 2E332040 48473034 0000007A 00000000
80000005 00000000 00000000 00000000 00000000
80000006 00000000 00000000 01006040 00000000
80000007 00000000 00000000 00000000 00000100
)"};

// Qualcomm Orion X1 x32 emulation: vendor "Virtual CPU ".
constexpr RecordedLeaves kVirtualCpu{"virtual-cpu-x86-emulation.txt", R"(
00000000 0000000D 74726956 20555043 206C6175
00000001 00000F4A 00080000 02982203 17808111
80000000 80000008 74726956 20555043 206C6175
80000002 20202020 20202020 20202020 20202020
80000003 20202020 20202020 69562020 61757472
80000004 5043206C 20402055 34322E33 007A4847
80000005 00000000 00000000 00000000 00000000
80000006 00000000 00000000 02006040 00000000
)"};

// Intel PII overdrive: processor type 1.
constexpr RecordedLeaves kOverdrive{"intel-pentium-ii-overdrive.txt", R"(
00000000 00000002 756E6547 6C65746E 49656E69
00000001 00001632 00000000 00000000 0183FBFF
00000002 03020101 00000000 00000000 0C040843
)"};

struct FeatureCheck {
    std::uint8_t kind;
    std::uint32_t bit;
    const char* mnemonic;
    bool available;
};

struct Expected {
    const char* name;
    RecordedLeaves leaves;
    TCpuVendor vendor;
    std::uint32_t type, family, model, stepping, brandId;
    std::uint32_t standardMax, extendedMax, transmetaMax;
    std::uint32_t counts[4]; // feature sets 1 to 4; 0 when unavailable
    std::uint32_t virtualCount;
    std::vector<FeatureCheck> features;
    std::uint32_t codeKb, dataKb, level2Kb; // level-1 code and data, level 2; 0 when unavailable
    const char* processorName;
};

std::vector<Expected> Processors() {
    return {
        {"Pentium III Coppermine",
         kCoppermine,
         TCpuVendor::Intel,
         0,
         6,
         8,
         3,
         2,
         3,
         0,
         0,
         {30, 3, 0, 0},
         1,
         {{1, 18, "PSN", true},
          {1, 25, "SSE", true},
          {1, 26, "SSE2", false},
          {1, 28, "HTT", false},
          {1, 11, "SEP", true},
          {1, 23, "MMX", true}},
         16,
         16,
         256,
         "Intel Pentium III"},
        // The HTT flag with one logical processor in the package: Virtual counts 1.
        {"Mobile Pentium 4-M",
         kMobilePentium4,
         TCpuVendor::Intel,
         0,
         15,
         2,
         9,
         14,
         2,
         0x80000004,
         0,
         {30, 3, 19, 0},
         1,
         {{1, 28, "HTT", true},
          {1, 29, "TM", true},
          {1, 26, "SSE2", true},
          {1, 18, "PSN", false},
          {3, 11, "SEP", false}},
         0,
         8,
         512,
         "Mobile Intel(R) Pentium(R) 4 - M CPU 2.20GHz"},
        // Intel's extended layout has no slot for execute-disable (bit 20) or Intel 64 (bit 29),
        // both of which this processor reports: the library lists only the common rows there.
        // Conroe sets both Enhanced SpeedStep (ECX bit 7) and Thermal Monitor 2 (bit 8).
        // Its level-2 cache is descriptor 0x49 (4 MB, 16-way in Intel's documents), which the
        // library's descriptor table lacks: no level 2.
        {"Core 2 Extreme Conroe",
         kConroe,
         TCpuVendor::Intel,
         0,
         6,
         15,
         6,
         0,
         0xA,
         0x80000008,
         0,
         {30, 3, 19, 0},
         2,
         {{1, 28, "HTT", true},
          {2, 7, "EST", true},
          {2, 8, "TM2", true},
          {3, 20, "RES", false},
          {3, 29, "RES", false},
          {4, 0, "RES", false}},
         32,
         32,
         0,
         "Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz"},
        {"Athlon XP Barton",
         kBarton,
         TCpuVendor::AMD,
         0,
         6,
         10,
         0,
         0,
         1,
         0x80000008,
         0,
         {30, 3, 24, 6},
         1,
         {{3, 22, "MMX+", true},
          {3, 30, "3DNOW+", true},
          {3, 31, "3DNOW", true},
          {3, 19, "MP", false},
          {3, 20, "NX", false},
          {3, 29, "LM", false},
          {4, 0, "TS", true},
          {4, 3, "TPP", false},
          {1, 25, "SSE", true}},
         64,
         64,
         512,
         "AMD Athlon(tm) XP 3200+"},
        {"Opteron 240 SledgeHammer",
         kSledgeHammer,
         TCpuVendor::AMD,
         0,
         15,
         5,
         1,
         0x81,
         1,
         0x80000018,
         0,
         {30, 3, 24, 6},
         1,
         {{3, 29, "LM", true},
          {3, 20, "NX", true},
          {3, 19, "MP", false},
          {3, 22, "MMX+", true},
          {4, 0, "TS", true},
          {4, 3, "TPP", true},
          {4, 1, "FID", false}},
         64,
         64,
         1024,
         "AMD Opteron(tm) Processor 240 HE"},
        // The library adds the extended model (5) to the base model 15 and gets 20; AMD's
        // documents shift it in (0x5F = 95). Leaf 1 EBX is 0x800, not 0, so the brand id is its low
        // byte 0, where AMD's documents fall back to 0x80000001 EBX (0x4C3) whenever the low byte is 0.
        {"K8 Orleans",
         kOrleans,
         TCpuVendor::AMD,
         0,
         15,
         20,
         3,
         0,
         1,
         0x80000018,
         0,
         {30, 3, 24, 6},
         1,
         {{3, 29, "LM", true}, {3, 20, "NX", true}},
         64,
         64,
         1024,
         "AMD Processor model unknown"},
        // Leaf 1 EBX bits 16-23 read 16: the library counts them as logical processors.
        {"Ryzen 7 1800X Summit Ridge",
         kSummitRidge,
         TCpuVendor::AMD,
         0,
         23,
         1,
         1,
         0,
         0xD,
         0x8000001F,
         0,
         {30, 3, 24, 6},
         16,
         {{3, 29, "LM", true},
          {3, 20, "NX", true},
          {3, 22, "MMX+", true},
          {3, 31, "3DNOW", false},
          {4, 0, "TS", true},
          {4, 3, "TPP", true},
          {4, 4, "TM", true},
          {4, 1, "FID", false},
          {4, 5, "STC", false},
          {1, 28, "HTT", true}},
         64,
         32,
         512,
         "AMD Ryzen 7 1800X Eight-Core Processor"},
        {"K5 SSA/5",
         kK5,
         TCpuVendor::AMD,
         0,
         5,
         0,
         0,
         0,
         1,
         0,
         0,
         {30, 3, 0, 0},
         1,
         {{1, 13, "PGE", false}, {1, 9, "APIC", true}},
         0,
         0,
         0,
         "AMD K5"},
        // Transmeta processors are named by leaves 0x80860003-6, the Code Morphing Software's
        // build text, where Transmeta's documents (and `cpuid`) take the brand string of
        // 0x80000002-4, "Transmeta(tm) Crusoe(tm) Processor TM5800". The level-1 data cache is
        // 16-way (the way count matches no code of the table).
        // Transmeta shares AMD's feature style: the AMD extended and power layouts. The extended
        // range stops at 0x80000006, so the power set is unavailable.
        {"Crusoe TM5800",
         kCrusoe,
         TCpuVendor::Transmeta,
         0,
         5,
         4,
         3,
         0,
         3,
         0x80000006,
         0x80860007,
         {30, 3, 24, 0},
         1,
         {{1, 11, "SEP", true},
          {1, 13, "PGE", false},
          {3, 22, "MMX+", false},
          {3, 23, "MMX", true},
          {4, 0, "TS", false}},
         64,
         64,
         512,
         "20030618 15:27 official release 4.4.3#1"},
        // Named by its build text like the Crusoe, not by "Transmeta Efficeon(tm) Processor TM8000".
        {"Efficeon TM8000",
         kEfficeon,
         TCpuVendor::Transmeta,
         0,
         15,
         2,
         4,
         0,
         3,
         0x80000008,
         0x80860007,
         {30, 3, 24, 6},
         1,
         {{1, 18, "PSN", true}, {1, 29, "TM", true}, {3, 22, "MMX+", true}, {4, 4, "TM", false}},
         128,
         64,
         1024,
         "20040723 20:41 official release 6.0.4#6"},
        // A Cyrix processor's caches are read as descriptors: its own 0x80 (a 16 KB unified level 1 in
        // Cyrix's documents and `cpuid`) matches no row of the library's table.
        // Cyrix documents bit 24 of 0x80000001 EDX as its extended MMX; `cpuid` reads that bit
        // with AMD's layout (FXSAVE).
        {"MediaGXm",
         kMediaGXm,
         TCpuVendor::Cyrix,
         0,
         5,
         4,
         0,
         0,
         2,
         0x80000005,
         0,
         {30, 3, 21, 0},
         1,
         {{3, 24, "MMX+", true}, {3, 23, "MMX", true}, {3, 20, "NX", false}, {1, 11, "SEP", false}},
         0,
         0,
         0,
         "Cyrix MediaGXtm MMXtm Enhanced"},
        // An unknown vendor's caches are read as descriptors; 0x80000006 (256 KB level 2 for `cpuid`)
        // then holds only the byte 0x40, "no level 2": no cache at all.
        // The library adds no extended model to base model 12 (Intel's documents: model 0x3C).
        {"Xeon E3-1231 v3 as GenuineIotel",
         kGenuineIotel,
         TCpuVendor::Unknown,
         0,
         6,
         12,
         3,
         0,
         0xD,
         0x80000008,
         0,
         {30, 3, 19, 0},
         16,
         {{1, 28, "HTT", true}, {3, 11, "SEP", true}, {3, 19, "CLFSH", false}},
         0,
         0,
         0,
         "Intel(R) Xeon(R) CPU E3-1231 v3 @ 3.40GHz"},
        // Leaf 2 reports 0x09, 0x0D and 0x80 (32 KB code, 16 KB data, 512 KB level 2 for `cpuid`), but an
        // unknown vendor's descriptors come from the extended leaves, which hold none of the table's.
        {"Virtual CPU x86 emulation",
         kVirtualCpu,
         TCpuVendor::Unknown,
         0,
         15,
         4,
         10,
         0,
         0xD,
         0x80000008,
         0,
         {30, 3, 19, 0},
         8,
         {{1, 28, "HTT", true}, {1, 9, "APIC", false}},
         0,
         0,
         0,
         "Virtual CPU @ 3.24GHz"},
        {"Pentium II OverDrive",
         kOverdrive,
         TCpuVendor::Intel,
         1,
         6,
         3,
         2,
         0,
         2,
         0,
         0,
         {30, 3, 0, 0},
         1,
         {{1, 13, "PGE", true}},
         16,
         16,
         512,
         "Intel Pentium II Overdrive"},
    };
}

TEST(RecordedProcessors, DecodeAsTheProcessorIs) {
    for (const Expected& e : Processors()) {
        SCOPED_TRACE(e.name);
        RecordedProcessor recorded(e.leaves);
        const auto cpu = recorded.Processor();

        EXPECT_EQ(cpu->Vendor()->Vendor(), e.vendor);
        const auto signature = cpu->Signature();
        EXPECT_EQ(signature->ProcessorType()->Value()->Value(), e.type);
        EXPECT_EQ(signature->Family()->Value()->Value(), e.family);
        EXPECT_EQ(signature->Model()->Value()->Value(), e.model);
        EXPECT_EQ(signature->Stepping()->Value()->Value(), e.stepping);
        EXPECT_EQ(signature->BrandId()->Value()->Value(), e.brandId);

        const auto ranges = cpu->Cpuid();
        EXPECT_EQ(ranges->Standard()->MaxCommand()->Value(), e.standardMax);
        EXPECT_EQ(ranges->Extended()->MaxCommand()->Value(), e.extendedMax);
        EXPECT_EQ(ranges->Transmeta()->MaxCommand()->Value(), e.transmetaMax);
        EXPECT_EQ(ranges->Extended()->Available()->Value(), e.extendedMax != 0);

        const auto features = cpu->Features();
        const CpuRef<ICpuFeatureSet> sets[] = {features->Standard(), features->StandardExtensions(),
                                               features->Extended(), features->PowerManagement()};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sets[i]->Count()->Value(), e.counts[i]) << "set " << i + 1;
        }
        // Bits 10 and 20 of the standard set are never named.
        EXPECT_EQ(sets[0]->Features(10)->Mnemonic(), "RES");
        EXPECT_EQ(sets[0]->Features(20)->Mnemonic(), "RES");
        for (const FeatureCheck& f : e.features) {
            const auto feature = sets[f.kind - 1]->Features(f.bit);
            EXPECT_EQ(feature->Mnemonic(), f.mnemonic) << "set " << int{f.kind} << " bit " << f.bit;
            EXPECT_EQ(feature->Available()->Value(), f.available) << f.mnemonic << " in set " << int{f.kind};
        }

        EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), e.virtualCount);

        const auto cache = cpu->Cache();
        EXPECT_EQ(cache->Level1()->Code()->Size()->Value(), e.codeKb * 1024);
        EXPECT_EQ(cache->Level1()->Data()->Size()->Value(), e.dataKb * 1024);
        EXPECT_EQ(cache->Level2()->Size()->Value(), e.level2Kb * 1024);
        EXPECT_EQ(cpu->Name()->Name(), e.processorName);
    }
}

TEST(RecordedProcessors, VendorAndSignatureTexts) {
    const struct {
        RecordedLeaves leaves;
        const char* vendorId;
        const char* name;
        const char* generic;
        bool familyExtended;
        bool modelExtended;
    } cases[] = {
        {kCoppermine, "GenuineIntel", "Intel Corporation", "x86 Family 6 Model 8 Stepping 3", false, false},
        {kMobilePentium4, "GenuineIntel", "Intel Corporation", "x86 Family 15 Model 2 Stepping 9", true,
         false},
        // Base model 15 with an extended model field of 0: extended, and still model 15.
        {kConroe, "GenuineIntel", "Intel Corporation", "x86 Family 6 Model 15 Stepping 6", false, true},
        {kOrleans, "AuthenticAMD", "Advanced Micro Devices", "x86 Family 15 Model 20 Stepping 3", true, true},
        {kCrusoe, "GenuineTMx86", "Transmeta", "x86 Family 5 Model 4 Stepping 3", false, false},
        {kMediaGXm, "CyrixInstead", "Via Technologies Inc", "x86 Family 5 Model 4 Stepping 0", false, false},
        {kGenuineIotel, "BadCpuVendor", "Unknown Vendor", "x86 Family 6 Model 12 Stepping 3", false, false},
        {kVirtualCpu, "BadCpuVendor", "Unknown Vendor", "x86 Family 15 Model 4 Stepping 10", true, false},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.leaves);
        const auto cpu = recorded.Processor();
        EXPECT_EQ(cpu->Vendor()->VendorId(), c.vendorId) << c.leaves.file;
        EXPECT_EQ(cpu->Vendor()->Name(), c.name) << c.leaves.file;
        EXPECT_EQ(cpu->Signature()->AsString(), c.generic) << c.leaves.file;
        EXPECT_EQ(cpu->Signature()->Family()->Extended()->Value(), c.familyExtended) << c.leaves.file;
        EXPECT_EQ(cpu->Signature()->Model()->Extended()->Value(), c.modelExtended) << c.leaves.file;
    }
}

TEST(RecordedProcessors, FeatureByNameAcrossTheSets) {
    const struct {
        RecordedLeaves leaves;
        const char* mnemonic;
        const char* found;
        std::uint8_t bit;
        bool available;
    } cases[] = {
        // Intel: "TM" is looked up in the power-management set (its first row), which Intel lacks,
        // although the standard set reports TM at bit 29.
        {kMobilePentium4, "TM", "RES", 255, false},
        // Intel: "NX" lives in the extended set only, where Intel has no slot, although Conroe
        // reports execute-disable there.
        {kConroe, "NX", "RES", 255, false},
        {kConroe, "sse2", "SSE2", 26, true},
        {kSledgeHammer, "nx", "NX", 20, true},
        {kSledgeHammer, "TM", "TM", 4, false},
        {kBarton, "mmx+", "MMX+", 22, true},
        {kBarton, "MMX+", "MMX+", 22, true},
        // AMD family 6 reports SEP in slot 10, which is empty: the unknown feature, although the
        // Athlon XP sets bit 11 (early K7 processors set it without supporting SYSENTER).
        {kBarton, "SEP", "RES", 255, false},
        // AMD K5 model 0 reports global paging in bit 9 (AMD's processor recognition note), which
        // the standard set names APIC.
        {kK5, "PGE", "APIC", 9, true},
        {kMediaGXm, "MMX+", "MMX+", 24, true},
        // Transmeta: AMD's layouts, but the AMD and Cyrix slot rules do not fire.
        {kCrusoe, "SEP", "SEP", 11, true},
        {kCrusoe, "", "RES", 255, false},
        {kEfficeon, "LM", "LM", 29, false},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.leaves);
        const auto feature = recorded.Processor()->Features()->FeatureByName(c.mnemonic);
        EXPECT_EQ(feature->Mnemonic(), c.found) << c.leaves.file << " " << c.mnemonic;
        EXPECT_EQ(feature->Bit(), c.bit) << c.leaves.file << " " << c.mnemonic;
        EXPECT_EQ(feature->Available()->Value(), c.available) << c.leaves.file << " " << c.mnemonic;
    }
}

TEST(RecordedProcessors, TwoProcessorMachinesBindEachQuery) {
    // Both sources of these dumps were two-processor machines ("2x" in their headers).
    for (const RecordedLeaves& leaves : {kCoppermine, kSledgeHammer}) {
        RecordedProcessor recorded(leaves, 2);
        EXPECT_TRUE(CpuRoot().Multiprocessor());
        const auto signature = recorded.Processor(1)->Signature();
        EXPECT_EQ(signature->Signature()->Value(), recorded.Processor(0)->Signature()->Signature()->Value());
        EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), 2U) << leaves.file;
        // Every binding was undone.
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
        EXPECT_FALSE(recorded.Cpu().AffinityWrites().empty());
    }
}

} // namespace
} // namespace quelmo
