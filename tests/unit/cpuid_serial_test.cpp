// Serial number, errata and the load figure on recorded processors. Serial numbers are read off
// the dumps' leaf 3 by hand and cross-checked with Debian's `cpuid`, which follows Intel's
// document where this library does not (noted per case).
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuSerial.h"
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "fakes/PerfDataRegistry.h"
#include "sampling/CpuUsage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quelmo {
namespace {

using testing::RecordedLeaves;
using testing::RecordedProcessor;

// Intel Pentium III, 450 MHz (Katmai): PSN flag set; leaf 3 ECX = 8EF18AEE, EDX = 0000D043.
constexpr RecordedLeaves kKatmai{"intel-pentium-iii-katmai-psn.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000673 00000000 00000000 0387F9FF
00000003 00000000 00000000 8EF18AEE 0000D043
)"};

// 2x Intel Pentium IIIE, 733 MHz (Coppermine): PSN present.
constexpr RecordedLeaves kCoppermine{"intel-pentium-iii-coppermine.txt", R"(
00000000 00000003 756E6547 6C65746E 49656E69
00000001 00000683 00000002 00000000 0387FBFF
00000003 00000000 00000000 6107FB5A 0000E4CA
)"};

// 2x Intel Pentium MMX, 200 MHz (P55C): standard range ends at command 1.
constexpr RecordedLeaves kPentiumMmx{"intel-pentium-mmx-p55c.txt", R"(
00000000 00000001 756E6547 6C65746E 49656E69
00000001 00000543 00000000 00000000 008003BF
)"};

// Transmeta Crusoe TM5800, 1000 MHz: leaf 3 serial, PSN flag (bit 18 of 0084893F) set.
constexpr RecordedLeaves kCrusoe{"transmeta-crusoe-tm5800.txt", R"(
00000000 00000003 756E6547 3638784D 54656E69
00000001 00000543 00000000 00000000 0084893F
00000003 00000000 229B3189 0061A48B 000068D6
)"};

// AMD Duron, 600 MHz (Spitfire): family 6 model 3 stepping 0.
constexpr RecordedLeaves kSpitfire{"amd-duron-spitfire.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000630 00000000 00000000 0183F9FF
)"};

// AMD Duron, 1600 MHz (Applebred): family 6 model 8 stepping 1.
constexpr RecordedLeaves kApplebred{"amd-duron-applebred.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00000681 00000000 00000000 0383FBFF
)"};

// Cyrix 6x86MX/MII: family 6 model 0.
constexpr RecordedLeaves kCyrixMii{"cyrix-6x86mx-mii.txt", R"(
00000000 00000001 69727943 64616574 736E4978
00000001 00000600 00000000 00000000 0080A135
)"};

// VIA C3 (Nehemiah): family 6 model 9 stepping 8.
constexpr RecordedLeaves kNehemiah{"via-c3-nehemiah.txt", R"(
00000000 00000001 746E6543 736C7561 48727561
00000001 00000698 00000000 00000000 0381B93F
)"};

struct SerialCase {
    const char* name;
    RecordedLeaves leaves;
    bool available;
    const char* text;
    const char* hex;
};

TEST(ProcessorSerial, ReadsCommand3) {
    const SerialCase cases[] = {
        // Intel's document (and Debian's cpuid: 0000-0673-0000-D043-8EF1-8AEE) puts the signature of
        // command 1 first; this library writes command 3's EAX there, which is 0.
        {"Pentium III Katmai", kKatmai, true, "0000-0000-0000-D043-8EF1-8AEE", "000000000000D0438EF18AEE"},
        {"Pentium III Coppermine", kCoppermine, true, "0000-0000-0000-E4CA-6107-FB5A",
         "000000000000E4CA6107FB5A"},
        // No command 3: all zeros, whatever the feature flag says.
        {"Pentium MMX", kPentiumMmx, false, "0000-0000-0000-0000-0000-0000", "000000000000000000000000"},
        // Transmeta: EBX alone (Debian's cpuid reads the Intel layout here: 0000-0543-0000-68D6-0061-A48B).
        {"Crusoe TM5800", kCrusoe, true, "229B-3189", "229B3189"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.leaves);
        const auto serial = recorded.Processor()->Serial();
        EXPECT_EQ(serial->Available()->Value(), c.available);
        EXPECT_EQ(serial->AsString(), c.text);
        EXPECT_EQ(serial->AsHex(), c.hex);
    }
}

TEST(ProcessorSerial, TextsIgnoreTheFeatureFlag) {
    // Katmai with the PSN flag (bit 18) cleared: the number is still written out.
    RecordedProcessor recorded(kKatmai);
    recorded.Cpu().SetLeaf(1, testing::Regs(0x673, 0, 0, 0x0387F9FF & ~(1U << 18)));
    const auto serial = recorded.Processor()->Serial();
    EXPECT_FALSE(serial->Available()->Value());
    EXPECT_EQ(serial->AsString(), "0000-0000-0000-D043-8EF1-8AEE");
}

TEST(ProcessorSerial, GroupPairs) {
    struct Case {
        std::uint32_t value;
        const char* text;
    };
    const Case cases[] = {{0x0000068A, "0000-068A"},
                          {0, "0000-0000"},
                          {0xFFFFFFFF, "FFFF-FFFF"},
                          {0x8EF18AEE, "8EF1-8AEE"},
                          {0x00012345, "0001-2345"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SerialGroupPair(c.value), c.text);
    }
}

TEST(ProcessorSerial, AnswersForItsOwnProcessor) {
    // Processor 1 is a Coppermine, processor 0 a Katmai.
    RecordedProcessor recorded(kKatmai, 2);
    recorded.Cpu().SetProcessorDump(1, testing::InlineDump(kCoppermine));
    EXPECT_EQ(recorded.Processor(1)->Serial()->AsHex(), "000000000000E4CA6107FB5A");
    EXPECT_EQ(recorded.Processor(0)->Serial()->AsHex(), "000000000000D0438EF18AEE");
}

TEST(ProcessorErrata, DuronCacheOnlyForAmdFamily6Model3Stepping0) {
    struct Case {
        const char* name;
        RecordedLeaves leaves;
        std::uint32_t signature; // 0: as recorded
        bool duron;
    };
    const Case cases[] = {
        {"AMD Duron Spitfire 6/3/0", kSpitfire, 0, true},
        // The same processor one stepping later.
        {"AMD 6/3/1", kSpitfire, 0x631, false},
        {"AMD Duron Applebred 6/8/1", kApplebred, 0, false},
        // Other vendors with the Spitfire's signature.
        {"Intel 6/3/0", kKatmai, 0x630, false},
        {"Cyrix 6/3/0", kCyrixMii, 0x630, false},
        {"Via 6/3/0", kNehemiah, 0x630, false},
        {"Transmeta 6/3/0", kCrusoe, 0x630, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.leaves);
        if (c.signature != 0) {
            const CpuDump dump = testing::InlineDump(c.leaves);
            const platform::CpuidRegisters* leaf1 = dump.Find(1);
            ASSERT_NE(leaf1, nullptr);
            recorded.Cpu().SetLeaf(1, testing::Regs(c.signature, leaf1->ebx, leaf1->ecx, leaf1->edx));
        }
        EXPECT_EQ(recorded.Processor()->Errata()->DuronCache()->Value(), c.duron);
    }
}

TEST(ProcessorErrata, TheDivisionTestPassesOnACorrectUnit) {
    RecordedProcessor recorded(kSpitfire);
    EXPECT_FALSE(recorded.Processor()->Errata()->FDivError()->Value());
    EXPECT_EQ(recorded.Processor()->Errata()->FDivError()->AsYesNo(), "No");
}

TEST(ProcessorUsage, FractionsBecomeWholePercent) {
    struct Case {
        double fraction;
        std::uint32_t percent;
    };
    const Case cases[] = {
        {0.5, 50},
        {0.999, 99},
        {1.0, 100},
        {0.0, 0},
        {0.014, 1},
        {0.29, 28}, // 28.999999999999996
        // Timing jitter outside 0..1, and no figure at all.
        {-0.02, 0},
        {1.03, 100},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UsagePercent(c.fraction), c.percent) << c.fraction;
    }
}

// A performance-data block holding processors 0 and 1 and the total, stamped `second` seconds
// into the minute.
std::vector<std::byte> ProcessorBlock(std::int64_t idle0, std::int64_t idle1, std::uint16_t second) {
    fakes::PerfSystemTime time;
    time.second = second;
    return fakes::BuildPerfBlock({fakes::ProcessorObjectLayout({idle0, idle1, idle0 + idle1})}, time).bytes;
}

TEST(ProcessorUsage, SamplesTheCountersAfreshForItsProcessor) {
    constexpr std::int64_t kSecond = 10'000'000; // 100-ns units
    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    const platform::ScopedSeam<platform::System> systemSeam(system);
    const platform::ScopedSeam<platform::Registry> registrySeam(registry);
    CpuUsageCounters counters;
    const platform::ScopedSeam<CpuUsageCounters> countersSeam(counters);
    RecordedProcessor recorded(kKatmai, 2);

    registry.SetBlock(ProcessorBlock(0, 0, 0));
    counters.RefreshCounters();
    // Each call takes a snapshot of its own: one second later each time.
    registry.SetBlock(ProcessorBlock(kSecond / 2, 0, 1));
    EXPECT_EQ(recorded.Processor(0)->Usage()->Usage()->Value(), 50U); // idle half the second
    registry.SetBlock(ProcessorBlock(kSecond / 2 + kSecond / 1000, kSecond / 4, 2));
    EXPECT_EQ(recorded.Processor(0)->Usage()->Usage()->Value(), 99U); // 0.999 busy
    registry.SetBlock(ProcessorBlock(kSecond / 2 + kSecond / 1000, kSecond / 4 + kSecond / 4, 3));
    EXPECT_EQ(recorded.Processor(0)->Usage()->Usage()->Value(), 100U); // never idle
    registry.SetBlock(ProcessorBlock(kSecond / 2 + kSecond / 1000, kSecond, 4));
    EXPECT_EQ(recorded.Processor(1)->Usage()->Usage()->Value(), 50U);

    // Processor 5 has no counter instance: the counters' error comes through unchanged.
    try {
        (void)recorded.Processor(5)->Usage()->Usage();
        ADD_FAILURE() << "no error for processor 5";
    } catch (const ECpuUsage& error) {
        EXPECT_STREQ(error.what(), "CPU index out of bounds");
    }
}

} // namespace
} // namespace quelmo
