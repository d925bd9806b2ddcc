#include "CpuidTestSupport.h"

#include "cpuid/CpuFeatures.h"
#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace quelmo {
namespace {

using testing::RecordedProcessor;
using testing::Regs;

// A processor of the given vendor with every feature command available and all bits set, family
// and model from `signature`.
CpuDump AllFeatures(const char* leaf0Registers, std::uint32_t signature = 0x00000683) {
    char text[400];
    std::snprintf(text, sizeof(text),
                  "00000000 00000001 %s\n"
                  "00000001 %08X 00000000 FFFFFFFF FFFFFFFF\n"
                  "80000000 80000008 00000000 00000000 00000000\n"
                  "80000001 00000000 00000000 FFFFFFFF FFFFFFFF\n"
                  "80000007 00000000 00000000 00000000 FFFFFFFF\n",
                  leaf0Registers, static_cast<unsigned>(signature));
    return testing::InlineDump(text);
}

// Leaf-0 EBX ECX EDX of each vendor.
constexpr const char* kIntel = "756E6547 6C65746E 49656E69";
constexpr const char* kAmd = "68747541 444D4163 69746E65";
constexpr const char* kCyrix = "69727943 64616574 736E4978";
constexpr const char* kVia = "746E6543 736C7561 48727561";
constexpr const char* kTransmeta = "756E6547 3638784D 54656E69";
constexpr const char* kUnknown = "756E6547 6C65746F 49656E69"; // "GenuineIotel"

// The slots each kind holds per feature style, as bit: mnemonic.
std::map<int, std::string> Slots(const ICpuFeatureSet& set) {
    std::map<int, std::string> slots;
    for (std::uint32_t bit = 0; bit < 32; ++bit) {
        const auto feature = set.Features(bit);
        if (feature->Mnemonic() != "RES") {
            EXPECT_EQ(feature->Bit(), bit);
            slots[static_cast<int>(bit)] = feature->Mnemonic();
        }
    }
    return slots;
}

const std::map<int, std::string> kStandardSlots = {
    {0, "FPU"},    {1, "VME"},   {2, "DE"},    {3, "PSE"},  {4, "TSC"},    {5, "MSR"},
    {6, "PAE"},    {7, "MCE"},   {8, "CX8"},   {9, "APIC"}, {11, "SEP"},   {12, "MTRR"},
    {13, "PGE"},   {14, "MCA"},  {15, "CMOV"}, {16, "PAT"}, {17, "PSE36"}, {18, "PSN"},
    {19, "CLFSH"}, {21, "DTES"}, {22, "ACPI"}, {23, "MMX"}, {24, "FXSR"},  {25, "SSE"},
    {26, "SSE2"},  {27, "SS"},   {28, "HTT"},  {29, "TM"},  {30, "IA-64"}, {31, "SBF"}};
const std::map<int, std::string> kExtensionSlots = {{7, "EST"}, {8, "TM2"}, {10, "CID"}};
const std::map<int, std::string> kExtendedCommon = {
    {0, "FPU"},   {1, "VME"},  {2, "DE"},     {3, "PSE"},  {4, "TSC"},   {5, "MSR"},  {6, "PAE"},
    {7, "MCE"},   {8, "CX8"},  {9, "APIC"},   {11, "SEP"}, {12, "MTRR"}, {13, "PGE"}, {14, "MCA"},
    {15, "CMOV"}, {16, "PAT"}, {19, "CLFSH"}, {23, "MMX"}, {24, "FXSR"}};

std::map<int, std::string> With(std::map<int, std::string> slots, const std::map<int, std::string>& changes) {
    for (const auto& [bit, mnemonic] : changes) {
        slots[bit] = mnemonic;
    }
    return slots;
}

TEST(FeatureLayout, SlotsOfEachKindForEachFeatureStyle) {
    const auto amdExtended = With(
        kExtendedCommon, {{19, "MP"}, {20, "NX"}, {22, "MMX+"}, {29, "LM"}, {30, "3DNOW+"}, {31, "3DNOW"}});
    const auto cyrixExtended = With(kExtendedCommon, {{20, "NX"}, {24, "MMX+"}, {29, "LM"}});
    const std::map<int, std::string> amdPower = {{0, "TS"},  {1, "FID"}, {2, "VID"},
                                                 {3, "TPP"}, {4, "TM"},  {5, "STC"}};
    const struct {
        const char* vendor;
        const char* name;
        std::map<int, std::string> extended;
        std::map<int, std::string> power;
    } cases[] = {
        {kIntel, "Intel", kExtendedCommon, {}},
        {kUnknown, "unknown", kExtendedCommon, {}},
        {kVia, "Via", kExtendedCommon, {}},
        {kAmd, "AMD", amdExtended, amdPower},
        {kTransmeta, "Transmeta", amdExtended, amdPower},
        {kCyrix, "Cyrix", cyrixExtended, {}},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(AllFeatures(c.vendor));
        const auto features = recorded.Processor()->Features();
        EXPECT_EQ(Slots(*features->Standard()), kStandardSlots) << c.name;
        EXPECT_EQ(Slots(*features->StandardExtensions()), kExtensionSlots) << c.name;
        EXPECT_EQ(Slots(*features->Extended()), c.extended) << c.name;
        EXPECT_EQ(Slots(*features->PowerManagement()), c.power) << c.name;
        EXPECT_EQ(features->Standard()->Count()->Value(), 30U) << c.name;
        EXPECT_EQ(features->StandardExtensions()->Count()->Value(), 3U) << c.name;
        EXPECT_EQ(features->Extended()->Count()->Value(), c.extended.size()) << c.name;
        EXPECT_EQ(features->PowerManagement()->Count()->Value(), c.power.size()) << c.name;
    }
}

TEST(FeatureLayout, StandardSetLeavesBits10And20Unknown) {
    RecordedProcessor recorded(AllFeatures(kIntel));
    const auto standard = recorded.Processor()->Features()->Standard();
    for (const std::uint32_t bit : {10U, 20U, 32U, 255U, 0xFFFFFFFFU}) {
        const auto feature = standard->Features(bit);
        EXPECT_EQ(feature->Bit(), 255) << bit;
        EXPECT_EQ(feature->Mnemonic(), "RES") << bit;
        EXPECT_EQ(feature->Description(), "Reserved or unused") << bit;
        EXPECT_FALSE(feature->Available()->Value()) << bit; // every bit of the register is set
    }
}

TEST(FeatureLayout, OtherKindsAreNeverAvailableAndHoldNothing) {
    RecordedProcessor recorded(AllFeatures(kAmd));
    for (const std::uint8_t kind : {0, 5, 7, 8, 255}) {
        const TCpuFeatureSet set(0, kind);
        EXPECT_FALSE(set.Available()->Value()) << int{kind};
        EXPECT_EQ(set.Count()->Value(), 0U) << int{kind};
        EXPECT_TRUE(Slots(set).empty()) << int{kind};
    }
}

TEST(FeatureLayout, DescriptionsOfSharedRows) {
    RecordedProcessor recorded(AllFeatures(kAmd));
    const auto features = recorded.Processor()->Features();
    EXPECT_EQ(features->Standard()->Features(8)->Description(), "CMPXCHG8 instrucion support");
    EXPECT_EQ(features->Extended()->Features(22)->Description(), "Extended MMX architecture");
    EXPECT_EQ(features->Extended()->Features(29)->Description(), "AA-64 Long mode");
    EXPECT_EQ(features->PowerManagement()->Features(4)->Description(), "Thermal monitor support");
    EXPECT_EQ(features->Standard()->Features(22)->Description(),
              "Thermal monitor and software controlled clock");
}

TEST(FeatureSet, AvailabilityFollowsTheHighestCommandOfItsRange) {
    const struct {
        std::uint32_t standardMax;
        std::uint32_t extendedMax;
        bool available[4];
    } cases[] = {
        {0, 0x80000008, {false, false, true, true}}, {1, 0, {true, true, false, false}},
        {1, 0x80000000, {true, true, false, false}}, {1, 0x80000001, {true, true, true, false}},
        {1, 0x80000006, {true, true, true, false}},  {1, 0x80000007, {true, true, true, true}},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(AllFeatures(kAmd));
        recorded.Cpu().SetLeaf(0, Regs(c.standardMax, 0x68747541, 0x444D4163, 0x69746E65));
        recorded.Cpu().SetLeaf(0x80000000, Regs(c.extendedMax, 0, 0, 0));
        const auto features = recorded.Processor()->Features();
        const CpuRef<ICpuFeatureSet> sets[] = {features->Standard(), features->StandardExtensions(),
                                               features->Extended(), features->PowerManagement()};
        // A filled slot of each set: TSC, EST, TSC, TM.
        const std::uint32_t filled[] = {4, 8, 4, 4};
        for (int kind = 0; kind < 4; ++kind) {
            const auto feature = sets[kind]->Features(filled[kind]);
            EXPECT_EQ(sets[kind]->Available()->Value(), c.available[kind])
                << std::hex << c.extendedMax << " " << kind;
            // An unavailable set still lists its features, none of them available.
            EXPECT_NE(feature->Mnemonic(), "RES");
            EXPECT_EQ(feature->Available()->Value(), c.available[kind])
                << std::hex << c.extendedMax << " " << kind;
            EXPECT_EQ(sets[kind]->Count()->Value() != 0, c.available[kind]);
        }
    }
}

TEST(Feature, ReadsItsBitFromTheRegisterOfItsSetAtEachCall) {
    RecordedProcessor recorded(AllFeatures(kAmd));
    recorded.Cpu().SetLeaf(1, Regs(0x683, 0, 1U << 8, 1U << 23));
    recorded.Cpu().SetLeaf(0x80000001, Regs(0, 0, 0, 1U << 31));
    recorded.Cpu().SetLeaf(0x80000007, Regs(0, 0, 0, 1U << 5));
    const auto features = recorded.Processor()->Features();
    const struct {
        CpuRef<ICpuFeatureSet> set;
        std::uint32_t bit;
        bool available;
    } cases[] = {
        {features->Standard(), 23, true},          {features->Standard(), 8, false},
        {features->StandardExtensions(), 8, true}, {features->StandardExtensions(), 7, false},
        {features->Extended(), 31, true},          {features->Extended(), 23, false},
        {features->PowerManagement(), 5, true},    {features->PowerManagement(), 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.set->Features(c.bit)->Available()->Value(), c.available) << c.bit;
    }
    const auto mmx = features->Standard()->Features(23);
    recorded.Cpu().SetLeaf(1, Regs(0x683, 0, 0, 0));
    EXPECT_FALSE(mmx->Available()->Value());
}

TEST(Feature, SpeedStepAndThermalMonitor2AreNamedByTheirOwnBits) {
    // Leaf 1 ECX bit 7 is Enhanced SpeedStep, bit 8 Thermal Monitor 2 (Intel SDM, CPUID leaf 1).
    RecordedProcessor recorded(AllFeatures(kIntel));
    const auto extensions = recorded.Processor()->Features()->StandardExtensions();
    const struct {
        std::uint32_t ecx;
        bool est;
        bool tm2;
    } cases[] = {{1U << 7, true, false}, {1U << 8, false, true}, {0, false, false}};
    for (const auto& c : cases) {
        recorded.Cpu().SetLeaf(1, Regs(0x6D8, 0, c.ecx, 0));
        EXPECT_EQ(extensions->FeatureByName("EST")->Available()->Value(), c.est) << c.ecx;
        EXPECT_EQ(extensions->FeatureByName("TM2")->Available()->Value(), c.tm2) << c.ecx;
    }
}

TEST(FeatureByName, LooksInTheSetOfTheFirstRowWithTheMnemonic) {
    const struct {
        const char* vendor;
        const char* mnemonic;
        const char* found; // "RES" for the unknown feature
        int bit;
    } cases[] = {
        // "TM" first appears in the power-management rows, so Intel's standard bit 29 is not found.
        {kIntel, "TM", "RES", 255},
        {kAmd, "TM", "TM", 4},
        // "NX" lives in the extended set only, where Intel has no slot for it.
        {kIntel, "NX", "RES", 255},
        {kAmd, "NX", "NX", 20},
        {kCyrix, "NX", "NX", 20},
        {kIntel, "mmx", "MMX", 23},
        {kIntel, "Sse2", "SSE2", 26},
        {kIntel, "est", "EST", 7},
        {kIntel, "pse36", "PSE36", 17},
        {kAmd, "3dnow", "3DNOW", 31},
        {kAmd, "lm", "LM", 29},
        {kIntel, "", "RES", 255},
        {kIntel, "XYZ", "RES", 255},
        {kIntel, "RES", "RES", 255},
        {kIntel, "MMX ", "RES", 255},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(AllFeatures(c.vendor));
        const auto feature = recorded.Processor()->Features()->FeatureByName(c.mnemonic);
        EXPECT_EQ(feature->Mnemonic(), c.found) << c.mnemonic;
        EXPECT_EQ(feature->Bit(), c.bit) << c.mnemonic;
    }
    EXPECT_EQ(SetKindOfMnemonic("TM"), kSetPowerManagement);
    EXPECT_EQ(SetKindOfMnemonic("nx"), kSetExtended);
    EXPECT_EQ(SetKindOfMnemonic("CID"), kSetStandardExtensions);
    EXPECT_EQ(SetKindOfMnemonic("FPU"), kSetStandard);
    EXPECT_EQ(SetKindOfMnemonic(""), 0);
}

TEST(FeatureByName, EmptyMnemonicFindsTheFirstEmptySlot) {
    RecordedProcessor recorded(AllFeatures(kIntel));
    const TFeatureSetDefinition standard(0, kSetStandard);
    EXPECT_EQ(standard.IndexOf(""), 10);
    const TFeatureSetDefinition extensions(0, kSetStandardExtensions);
    EXPECT_EQ(extensions.IndexOf(""), 0);
    EXPECT_EQ(extensions.IndexOf("cid"), 10);
    EXPECT_EQ(standard.IndexOf("NOPE"), kNoSlot);
}

TEST(FeatureByName, VendorRulesPickTheirSlot) {
    const struct {
        const char* vendor;
        std::uint32_t signature;
        std::uint8_t kind;
        const char* mnemonic;
        std::uint8_t slot;
    } cases[] = {
        {kAmd, 0x6A0, kSetExtended, "MMX+", 22},
        {kCyrix, 0x540, kSetExtended, "mmx+", 24},
        // The rule's slot holds whatever the set has there: in the standard set, AMD's "MMX+"
        // answers with slot 22, ACPI.
        {kAmd, 0x6A0, kSetStandard, "MMX+", 22},
        {kIntel, 0x6A0, kSetExtended, "MMX+", kNoSlot},
        {kAmd, 0x500, kSetStandard, "PGE", 9},
        {kAmd, 0x510, kSetStandard, "PGE", 13},
        {kAmd, 0x600, kSetStandard, "PGE", 13},
        {kIntel, 0x500, kSetStandard, "PGE", 13},
        {kAmd, 0x6A0, kSetStandard, "SEP", 10},
        {kAmd, 0x6A0, kSetExtended, "sep", 10},
        {kAmd, 0xF51, kSetStandard, "SEP", 11},
        {kCyrix, 0x600, kSetStandard, "SEP", 11},
        // Transmeta has AMD's feature style, but the rules name AMD and Cyrix only.
        {kTransmeta, 0x500, kSetStandard, "PGE", 13},
        {kTransmeta, 0x600, kSetStandard, "SEP", 11},
        {kTransmeta, 0x543, kSetExtended, "MMX+", 22}, // found by its mnemonic in the AMD layout
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(AllFeatures(c.vendor, c.signature));
        EXPECT_EQ(TFeatureSetDefinition(0, c.kind).IndexOf(c.mnemonic), c.slot)
            << c.mnemonic << " " << std::hex << c.signature;
    }
}

TEST(FeatureByName, AmdRulesAnswerWithTheFeatureOfTheSlot) {
    RecordedProcessor recorded(AllFeatures(kAmd, 0x500));
    const auto features = recorded.Processor()->Features();
    // "PGE" of an AMD family 5 model 0 answers with slot 9 of the standard set: the APIC row.
    const auto pge = features->FeatureByName("PGE");
    EXPECT_EQ(pge->Mnemonic(), "APIC");
    EXPECT_EQ(pge->Bit(), 9);
    recorded.Cpu().SetLeaf(1, Regs(0x600, 0, 0, 0xFFFFFFFF));
    // "SEP" of an AMD family 6 answers with slot 10, which is empty.
    EXPECT_EQ(features->FeatureByName("SEP")->Mnemonic(), "RES");
    EXPECT_EQ(features->Standard()->FeatureByName("SEP")->Bit(), 255);
}

} // namespace
} // namespace quelmo
