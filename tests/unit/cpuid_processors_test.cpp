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

using testing::RecordedProcessor;

struct FeatureCheck {
    std::uint8_t kind;
    std::uint32_t bit;
    const char* mnemonic;
    bool available;
};

struct Expected {
    const char* name;
    const char* dump;
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
         "intel-pentium-iii-coppermine.txt",
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
         "intel-mobile-pentium-4-m.txt",
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
        // Its level-2 cache is descriptor 0x49: 4 MB on every processor but the family-15-model-6 Xeon MP.
        {"Core 2 Extreme Conroe",
         "intel-core2-extreme-conroe.txt",
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
         1,
         {{1, 28, "HTT", true},
          {2, 7, "EST", true},
          {2, 8, "TM2", true},
          {3, 20, "RES", false},
          {3, 29, "RES", false},
          {4, 0, "RES", false}},
         32,
         32,
         4096,
         "Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz"},
        {"Athlon XP Barton",
         "amd-athlon-xp-barton.txt",
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
         "amd-opteron-sledgehammer.txt",
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
        // The extended model is shifted in (0x5F); the brand-id field of leaf 1 is 0 (EBX 0x800), so
        // the brand id is 0x80000001 EBX.
        {"K8 Orleans",
         "amd-k8-orleans.txt",
         TCpuVendor::AMD,
         0,
         15,
         95,
         3,
         0x4C3,
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
        // 16 logical processors in the package (0x80000008 ECX), although the system reports one.
        {"Ryzen 7 1800X Summit Ridge",
         "amd-ryzen-zen1-summitridge.txt",
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
         "amd-k5-ssa5.txt",
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
         "transmeta-crusoe-tm5800.txt",
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
         "transmeta-efficeon-tm8000.txt",
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
         "cyrix-mediagxm.txt",
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
        // An unknown vendor follows AMD's model rule: no extended model for family 6 (Intel's
        // documents: model 0x3C). Leaf 1 EBX bits 16-23 (16) are ids, not processors.
        {"Xeon E3-1231 v3 as GenuineIotel",
         "intel-xeon-haswell-genuineiotel.txt",
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
         1,
         {{1, 28, "HTT", true}, {3, 11, "SEP", true}, {3, 19, "CLFSH", false}},
         0,
         0,
         0,
         "Intel(R) Xeon(R) CPU E3-1231 v3 @ 3.40GHz"},
        // Leaf 2 reports 0x09, 0x0D and 0x80 (32 KB code, 16 KB data, 512 KB level 2 for `cpuid`), but an
        // unknown vendor's descriptors come from the extended leaves, which hold none of the table's.
        // Leaf 1 EBX bits 16-23 (8) are ids, not processors.
        {"Virtual CPU x86 emulation",
         "virtual-cpu-x86-emulation.txt",
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
         1,
         {{1, 28, "HTT", true}, {1, 9, "APIC", false}},
         0,
         0,
         0,
         "Virtual CPU @ 3.24GHz"},
        {"Pentium II OverDrive",
         "intel-pentium-ii-overdrive.txt",
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
        RecordedProcessor recorded(e.dump);
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

TEST(RecordedProcessors, SignatureAndBrandIdAsTheVendorsNumberThem) {
    const struct {
        const char* dump;
        const char* vendorId;
        const char* generic; // family and model as the vendors' documents give them
        std::uint32_t brandId;
    } cases[] = {
        {"intel-pentium-iii-coppermine.txt", "GenuineIntel", "x86 Family 6 Model 8 Stepping 3", 2},
        {"intel-mobile-pentium-4-m.txt", "GenuineIntel", "x86 Family 15 Model 2 Stepping 9", 14},
        {"intel-core2-extreme-conroe.txt", "GenuineIntel", "x86 Family 6 Model 15 Stepping 6", 0},
        // Intel shifts the extended model in above the base model for families 6 and 15.
        {"intel-core-i5-sandybridge.txt", "GenuineIntel", "x86 Family 6 Model 42 Stepping 7", 0},
        {"intel-core-i7-haswell.txt", "GenuineIntel", "x86 Family 6 Model 60 Stepping 3", 0},
        {"intel-core-i7-coffeelake.txt", "GenuineIntel", "x86 Family 6 Model 158 Stepping 10", 0},
        {"intel-core-i7-raptorlake.txt", "GenuineIntel", "x86 Family 6 Model 183 Stepping 1", 0},
        {"intel-core-ultra-arrowlake.txt", "GenuineIntel", "x86 Family 6 Model 198 Stepping 2", 0},
        // AMD for family 15 only; K8 processors whose leaf-1 brand-id field is 0 take 0x80000001 EBX.
        {"amd-athlon64-clawhammer.txt", "AuthenticAMD", "x86 Family 15 Model 4 Stepping 10", 0x106},
        {"amd-athlon64-x2-manchester.txt", "AuthenticAMD", "x86 Family 15 Model 43 Stepping 1", 0x150},
        {"amd-k8-orleans.txt", "AuthenticAMD", "x86 Family 15 Model 95 Stepping 3", 0x4C3},
        {"amd-opteron-sledgehammer.txt", "AuthenticAMD", "x86 Family 15 Model 5 Stepping 1", 0x81},
        {"amd-ryzen-zen4-raphael.txt", "AuthenticAMD", "x86 Family 25 Model 97 Stepping 2", 0},
        {"amd-ryzen-zen5-graniteridge.txt", "AuthenticAMD", "x86 Family 26 Model 68 Stepping 0", 0},
        {"amd-athlon-xp-barton.txt", "AuthenticAMD", "x86 Family 6 Model 10 Stepping 0", 0},
        // The other vendors follow AMD's rule.
        {"transmeta-crusoe-tm5800.txt", "GenuineTMx86", "x86 Family 5 Model 4 Stepping 3", 0},
        {"cyrix-mediagxm.txt", "CyrixInstead", "x86 Family 5 Model 4 Stepping 0", 0},
        {"via-nano-isaiah.txt", "CentaurHauls", "x86 Family 6 Model 15 Stepping 2", 0},
        {"intel-xeon-haswell-genuineiotel.txt", "BadCpuVendor", "x86 Family 6 Model 12 Stepping 3", 0},
        {"virtual-cpu-x86-emulation.txt", "BadCpuVendor", "x86 Family 15 Model 4 Stepping 10", 0},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump);
        const auto cpu = recorded.Processor();
        EXPECT_EQ(cpu->Vendor()->VendorId(), c.vendorId) << c.dump;
        EXPECT_EQ(cpu->Signature()->AsString(), c.generic) << c.dump;
        EXPECT_EQ(cpu->Signature()->BrandId()->Value()->Value(), c.brandId) << c.dump;
    }
}

TEST(RecordedProcessors, FeatureByNameAcrossTheSets) {
    const struct {
        const char* dump;
        const char* mnemonic;
        const char* found;
        std::uint8_t bit;
        bool available;
    } cases[] = {
        // Intel: "TM" is looked up in the power-management set (its first row), which Intel lacks,
        // although the standard set reports TM at bit 29.
        {"intel-mobile-pentium-4-m.txt", "TM", "RES", 255, false},
        // Intel: "NX" lives in the extended set only, where Intel has no slot, although Conroe
        // reports execute-disable there.
        {"intel-core2-extreme-conroe.txt", "NX", "RES", 255, false},
        {"intel-core2-extreme-conroe.txt", "sse2", "SSE2", 26, true},
        {"amd-opteron-sledgehammer.txt", "nx", "NX", 20, true},
        {"amd-opteron-sledgehammer.txt", "TM", "TM", 4, false},
        {"amd-athlon-xp-barton.txt", "mmx+", "MMX+", 22, true},
        {"amd-athlon-xp-barton.txt", "MMX+", "MMX+", 22, true},
        // AMD family 6 reports SEP in slot 10, which is empty: the unknown feature, although the
        // Athlon XP sets bit 11 (early K7 processors set it without supporting SYSENTER).
        {"amd-athlon-xp-barton.txt", "SEP", "RES", 255, false},
        // AMD K5 model 0 reports global paging in bit 9 (AMD's processor recognition note), which
        // the standard set names APIC.
        {"amd-k5-ssa5.txt", "PGE", "APIC", 9, true},
        {"cyrix-mediagxm.txt", "MMX+", "MMX+", 24, true},
        // Transmeta: AMD's layouts, but the AMD and Cyrix slot rules do not fire.
        {"transmeta-crusoe-tm5800.txt", "SEP", "SEP", 11, true},
        {"transmeta-crusoe-tm5800.txt", "", "RES", 255, false},
        {"transmeta-efficeon-tm8000.txt", "LM", "LM", 29, false},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(c.dump);
        const auto feature = recorded.Processor()->Features()->FeatureByName(c.mnemonic);
        EXPECT_EQ(feature->Mnemonic(), c.found) << c.dump << " " << c.mnemonic;
        EXPECT_EQ(feature->Bit(), c.bit) << c.dump << " " << c.mnemonic;
        EXPECT_EQ(feature->Available()->Value(), c.available) << c.dump << " " << c.mnemonic;
    }
}

TEST(RecordedProcessors, TwoProcessorMachinesBindEachQuery) {
    // Both sources of these dumps were two-processor machines ("2x" in their headers).
    for (const char* dump : {"intel-pentium-iii-coppermine.txt", "amd-opteron-sledgehammer.txt"}) {
        RecordedProcessor recorded(dump, 2);
        EXPECT_TRUE(CpuRoot().Multiprocessor());
        const auto signature = recorded.Processor(1)->Signature();
        EXPECT_EQ(signature->Signature()->Value(), recorded.Processor(0)->Signature()->Signature()->Value());
        EXPECT_EQ(CpuRoot().ProcessorCount()->Virtual()->Value(), 2U) << dump;
        // Every binding was undone.
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
        EXPECT_FALSE(recorded.Cpu().AffinityWrites().empty());
    }
}

} // namespace
} // namespace quelmo
