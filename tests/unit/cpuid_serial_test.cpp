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

using testing::RecordedProcessor;

// Pentium III Katmai and Coppermine (serial numbers), Pentium MMX (no command 3), Transmeta
// Crusoe (its own layout), and the Durons Spitfire (6/3/0) and Applebred (6/8/1).
constexpr const char* kKatmai = "intel-pentium-iii-katmai-psn.txt";
constexpr const char* kCoppermine = "intel-pentium-iii-coppermine.txt";
constexpr const char* kCrusoe = "transmeta-crusoe-tm5800.txt";
constexpr const char* kSpitfire = "amd-duron-spitfire.txt";

struct SerialCase {
    const char* name;
    const char* dump;
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
        {"Pentium MMX", "intel-pentium-mmx-p55c.txt", false, "0000-0000-0000-0000-0000-0000",
         "000000000000000000000000"},
        // Transmeta: EBX alone (Debian's cpuid reads the Intel layout here: 0000-0543-0000-68D6-0061-A48B).
        {"Crusoe TM5800", kCrusoe, true, "229B-3189", "229B3189"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
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
    recorded.Cpu().SetProcessorDump(1, testing::RecordedDump(kCoppermine));
    EXPECT_EQ(recorded.Processor(1)->Serial()->AsHex(), "000000000000E4CA6107FB5A");
    EXPECT_EQ(recorded.Processor(0)->Serial()->AsHex(), "000000000000D0438EF18AEE");
}

TEST(ProcessorErrata, DuronCacheOnlyForAmdFamily6Model3Stepping0) {
    struct Case {
        const char* name;
        const char* dump;
        std::uint32_t signature; // 0: as recorded
        bool duron;
    };
    const Case cases[] = {
        {"AMD Duron Spitfire 6/3/0", kSpitfire, 0, true},
        // The same processor one stepping later.
        {"AMD 6/3/1", kSpitfire, 0x631, false},
        {"AMD Duron Applebred 6/8/1", "amd-duron-applebred.txt", 0, false},
        // Other vendors with the Spitfire's signature.
        {"Intel 6/3/0", kKatmai, 0x630, false},
        {"Cyrix 6/3/0", "cyrix-6x86mx-mii.txt", 0x630, false},
        {"Via 6/3/0", "via-c3-nehemiah.txt", 0x630, false},
        {"Transmeta 6/3/0", kCrusoe, 0x630, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedProcessor recorded(c.dump);
        if (c.signature != 0) {
            const CpuDump dump = testing::RecordedDump(c.dump);
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
