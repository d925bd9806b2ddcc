#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuVendor.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

using testing::RecordedLeaves;
using testing::RecordedProcessor;
using testing::Regs;

// Leaf 0 reporting `vendorId` (EBX, EDX, ECX) and a standard maximum of 1, and leaf 1 with `eax`.
std::string HandMade(const std::string& vendorId, std::uint32_t eax = 0x00000683, std::uint32_t ebx = 0) {
    auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(vendorId[at + i])) << (8 * i);
        }
        return value;
    };
    char text[160];
    std::snprintf(text, sizeof(text),
                  "00000000 00000001 %08X %08X %08X\n00000001 %08X %08X 00000000 00000000\n", word(0),
                  word(8), word(4), eax, ebx);
    return text;
}

TEST(CpuVendor, EveryRowOfTheVendorTable) {
    const struct {
        const char* id;
        TCpuVendor vendor;
        const char* name;
        std::uint8_t featureStyle;
        std::uint8_t cacheStyle;
    } cases[] = {
        {"GenuineIntel", TCpuVendor::Intel, "Intel Corporation", 1, 0},
        {"AuthenticAMD", TCpuVendor::AMD, "Advanced Micro Devices", 2, 1},
        {"CyrixInstead", TCpuVendor::Cyrix, "Via Technologies Inc", 3, 2},
        {"CentaurHauls", TCpuVendor::Via, "Via Technologies Inc", 0, 1},
        {"NexGenDriven", TCpuVendor::NexGen, "NexGen Inc", 0, 0},
        {"UMC UMC UMC ", TCpuVendor::UMC, "United Microelectronics Corp", 0, 0},
        {"RiseRiseRise", TCpuVendor::Rise, "Rise Technology", 0, 0},
        {"GenuineTMx86", TCpuVendor::Transmeta, "Transmeta", 2, 1},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(HandMade(c.id));
        const auto vendor = recorded.Processor()->Vendor();
        EXPECT_EQ(vendor->Vendor(), c.vendor) << c.id;
        EXPECT_EQ(vendor->VendorId(), c.id);
        EXPECT_EQ(vendor->Name(), c.name) << c.id;
        EXPECT_EQ(vendor->FeatureStyle(), c.featureStyle) << c.id;
        EXPECT_EQ(vendor->CacheStyle(), c.cacheStyle) << c.id;
    }
}

TEST(CpuVendor, AnIdentificationThatMatchesNoRowExactlyIsUnknown) {
    const std::string ids[] = {"genuineintel", "GENUINEINTEL", "UMC UMC UMC\t", "UMC UMC UMC\0",
                               "BadCpuVendor", "Virtual CPU ", "GenuineIotel",  std::string(12, '\0')};
    for (const std::string& id : ids) {
        RecordedProcessor recorded(HandMade(id));
        const auto vendor = recorded.Processor()->Vendor();
        EXPECT_EQ(vendor->Vendor(), TCpuVendor::Unknown) << id;
        EXPECT_EQ(vendor->VendorId(), "BadCpuVendor");
        EXPECT_EQ(vendor->Name(), "Unknown Vendor");
        EXPECT_EQ(vendor->FeatureStyle(), 0);
        EXPECT_EQ(vendor->CacheStyle(), 0);
    }
}

TEST(CpuVendor, ShortNamesEndInABlank) {
    const struct {
        TCpuVendor vendor;
        const char* shortName;
    } cases[] = {
        {TCpuVendor::Unknown, "Unknown "},
        {TCpuVendor::Intel, "Intel "},
        {TCpuVendor::AMD, "AMD "},
        {TCpuVendor::Cyrix, "Cyrix "},
        {TCpuVendor::Via, "Via "},
        {TCpuVendor::NexGen, "NexGen "},
        {TCpuVendor::UMC, "UMC "},
        {TCpuVendor::Rise, "Rise "},
        {TCpuVendor::Transmeta, "Transmeta "},
        {static_cast<TCpuVendor>(0), "Unknown "},
        {static_cast<TCpuVendor>(10), "Unknown "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VendorInfo(c.vendor).shortName, c.shortName);
    }
}

TEST(CpuSignature, DecodesEachFieldOfTheSignatureWord) {
    const struct {
        std::uint32_t signature;
        std::uint32_t type, family, model, stepping;
        bool familyExtended, modelExtended;
    } cases[] = {
        {0x00000F29, 0, 15, 2, 9, true, false},
        // Extended family 0 still counts as extended.
        {0x00000F41, 0, 15, 4, 1, true, false},
        // Base model 5: the extended model field (2) is not added.
        {0x00020F51, 0, 15, 5, 1, true, false},
        {0x000106F2, 0, 6, 16, 2, false, true},
        {0x000006FB, 0, 6, 15, 11, false, true},
        // Base model 14: model 14 whatever the extended model field holds.
        {0x000206E6, 0, 6, 14, 6, false, false},
        {0x00000683, 0, 6, 8, 3, false, false},
        {0x00001632, 1, 6, 3, 2, false, false},
        {0x00003000, 3, 0, 0, 0, false, false},
        // Extended family added to 15, extended model added (not shifted) to 15.
        {0x00A50FF3, 0, 25, 20, 3, true, true},
        {0x0FF00F00, 0, 270, 0, 0, true, false},
        {0, 0, 0, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        const auto field = [&](std::uint8_t kind) { return TCpuSignatureInformation(c.signature, kind); };
        EXPECT_EQ(field(kFieldType).Value()->Value(), c.type) << std::hex << c.signature;
        EXPECT_EQ(field(kFieldFamily).Value()->Value(), c.family) << std::hex << c.signature;
        EXPECT_EQ(field(kFieldModel).Value()->Value(), c.model) << std::hex << c.signature;
        EXPECT_EQ(field(kFieldStepping).Value()->Value(), c.stepping) << std::hex << c.signature;
        EXPECT_EQ(field(kFieldFamily).Extended()->Value(), c.familyExtended) << std::hex << c.signature;
        EXPECT_EQ(field(kFieldModel).Extended()->Value(), c.modelExtended) << std::hex << c.signature;
        EXPECT_FALSE(field(kFieldType).Extended()->Value());
        EXPECT_FALSE(field(kFieldStepping).Extended()->Value());
    }
}

TEST(CpuSignature, BrandIdAndUnknownKindsKeepOrDropTheNumber) {
    EXPECT_EQ(TCpuSignatureInformation(0x4C3, kFieldBrandId).Value()->Value(), 0x4C3U);
    EXPECT_FALSE(TCpuSignatureInformation(0xFFFFFFFF, kFieldBrandId).Extended()->Value());
    EXPECT_EQ(TCpuSignatureInformation(0x00000F29, 5).Value()->Value(), 0U);
    EXPECT_FALSE(TCpuSignatureInformation(0x00000F29, 5).Extended()->Value());
}

TEST(CpuSignature, AsStringAndSignatureOfAProcessor) {
    const struct {
        std::uint32_t signature;
        const char* text;
    } cases[] = {
        {0x00000683, "x86 Family 6 Model 8 Stepping 3"},
        {0x00000F29, "x86 Family 15 Model 2 Stepping 9"},
        {0x000106F2, "x86 Family 6 Model 16 Stepping 2"},
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(HandMade("GenuineIntel", c.signature));
        const auto signature = recorded.Processor()->Signature();
        EXPECT_EQ(signature->AsString(), c.text);
        EXPECT_EQ(signature->Signature()->Value(), c.signature);
    }
}

TEST(CpuSignature, WithoutCommand1EveryFieldIsZero) {
    // A standard maximum of 0: command 1 is unavailable, whatever the processor would answer.
    RecordedProcessor recorded("00000000 00000000 756E6547 6C65746E 49656E69\n"
                               "00000001 00000683 00000002 00000000 0387FBFF\n");
    const auto signature = recorded.Processor()->Signature();
    EXPECT_EQ(signature->AsString(), "x86 Family 0 Model 0 Stepping 0");
    EXPECT_EQ(signature->Signature()->Value(), 0U);
    EXPECT_EQ(signature->BrandId()->Value()->Value(), 0U);
}

// AMD Athlon 64 X2 (Manchester), 3800+: family 15 model 11 (base model, the library adds no
// extended model to it), 0x80000001 EBX = 0x150.
constexpr RecordedLeaves kManchester{"amd-athlon64-x2-manchester.txt", R"(
00000000 00000001 68747541 444D4163 69746E65
00000001 00020FB1 00020800 00000001 178BFBFF
80000000 80000018 68747541 444D4163 69746E65
80000001 00020FB1 00000150 00000003 E3D3FBFF
)"};

TEST(CpuSignature, AmdFamily15BrandIdFallsBackToTheExtendedCommandWhenEbxIsZero) {
    // Leaf 1 EBX is never 0 on the real K8 dumps (0x00020800 here), so the fallback is shown on
    // a processor derived from this one with leaf 1 EBX cleared.
    RecordedProcessor recorded(kManchester);
    EXPECT_EQ(recorded.Processor()->Signature()->BrandId()->Value()->Value(), 0U); // low byte of 0x00020800
    recorded.Cpu().SetLeaf(1, Regs(0x00020FB1, 0, 0x00000001, 0x178BFBFF));
    EXPECT_EQ(recorded.Processor()->Signature()->BrandId()->Value()->Value(), 0x150U);
}

TEST(CpuSignature, BrandIdFallbackNeedsAmdFamily15AndModelAbove4) {
    const struct {
        const char* vendorId;
        std::uint32_t signature;
        std::uint32_t brandId;
    } cases[] = {
        {"AuthenticAMD", 0x00000F51, 0x150}, // model 5
        {"AuthenticAMD", 0x00000F41, 0},     // model 4
        {"AuthenticAMD", 0x000006A0, 0},     // family 6
        {"GenuineIntel", 0x00000F51, 0},     // not AMD
        {"GenuineTMx86", 0x00000F51, 0},     // AMD's feature style, but not AMD
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(HandMade(c.vendorId, c.signature, 0));
        recorded.Cpu().SetLeaf(0x80000000, Regs(0x80000001, 0, 0, 0));
        recorded.Cpu().SetLeaf(0x80000001, Regs(0, 0x150, 0, 0));
        EXPECT_EQ(recorded.Processor()->Signature()->BrandId()->Value()->Value(), c.brandId)
            << c.vendorId << " " << std::hex << c.signature;
    }
}

TEST(CpuSignature, BrandIdIsTheLowByteWheneverAnyBitOfEbxIsSet) {
    // All 32 bits of EBX are tested: 0x00000800 is nonzero, so the brand id is its low byte 0 and
    // the extended command is not read (AMD's documents fall back whenever the low byte is 0).
    RecordedProcessor recorded(HandMade("AuthenticAMD", 0x00050FF3, 0x00000800));
    recorded.Cpu().SetLeaf(0x80000000, Regs(0x80000001, 0, 0, 0));
    recorded.Cpu().SetLeaf(0x80000001, Regs(0, 0x4C3, 0, 0));
    EXPECT_EQ(recorded.Processor()->Signature()->BrandId()->Value()->Value(), 0U);
    EXPECT_EQ(recorded.Cpu().Executions(0x80000001), 0U);
}

} // namespace
} // namespace quelmo
