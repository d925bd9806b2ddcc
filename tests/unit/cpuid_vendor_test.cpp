#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuVendor.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

using testing::InlineDump;
using testing::RecordedProcessor;
using testing::Regs;

// Leaf 0 reporting `vendorId` (EBX, EDX, ECX) and a standard maximum of 1, and leaf 1 with `eax`.
CpuDump HandMade(const std::string& vendorId, std::uint32_t eax = 0x00000683, std::uint32_t ebx = 0) {
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
    return InlineDump(text);
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
    constexpr auto kIntel = TCpuVendor::Intel;
    constexpr auto kAmd = TCpuVendor::AMD;
    const struct {
        TCpuVendor vendor;
        std::uint32_t signature;
        std::uint32_t type, family, model, stepping;
        bool familyExtended, modelExtended;
    } cases[] = {
        // The extended model is shifted in above the base model: Intel for families 6 and 15,
        // every other vendor for family 15 only.
        {kIntel, 0x00000F29, 0, 15, 2, 9, true, true},
        {kIntel, 0x000106F2, 0, 6, 0x1F, 2, false, true},
        {kIntel, 0x000206E6, 0, 6, 0x2E, 6, false, true},
        {kIntel, 0x000306C3, 0, 6, 0x3C, 3, false, true},
        {kIntel, 0x00000683, 0, 6, 8, 3, false, true},
        {kIntel, 0x00001632, 1, 6, 3, 2, false, true},
        {kIntel, 0x00000543, 0, 5, 4, 3, false, false},
        {kIntel, 0x00003000, 3, 0, 0, 0, false, false},
        {kAmd, 0x00000F41, 0, 15, 4, 1, true, true},
        {kAmd, 0x00020F51, 0, 15, 0x25, 1, true, true},
        {kAmd, 0x00A50FF3, 0, 25, 0x5F, 3, true, true},
        {kAmd, 0x000006A0, 0, 6, 10, 0, false, false},
        {TCpuVendor::Unknown, 0x000306C3, 0, 6, 12, 3, false, false},
        {TCpuVendor::Via, 0x000106F2, 0, 6, 15, 2, false, false},
        {kAmd, 0x0FF00F00, 0, 270, 0, 0, true, true},
        {kIntel, 0, 0, 0, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        const auto field = [&](std::uint8_t kind) {
            return TCpuSignatureInformation(c.signature, kind, c.vendor);
        };
        SCOPED_TRACE(::testing::Message() << std::hex << c.signature << " vendor " << int(c.vendor));
        EXPECT_EQ(field(kFieldType).Value()->Value(), c.type);
        EXPECT_EQ(field(kFieldFamily).Value()->Value(), c.family);
        EXPECT_EQ(field(kFieldModel).Value()->Value(), c.model);
        EXPECT_EQ(field(kFieldStepping).Value()->Value(), c.stepping);
        EXPECT_EQ(field(kFieldFamily).Extended()->Value(), c.familyExtended);
        EXPECT_EQ(field(kFieldModel).Extended()->Value(), c.modelExtended);
        EXPECT_FALSE(field(kFieldType).Extended()->Value());
        EXPECT_FALSE(field(kFieldStepping).Extended()->Value());
    }
}

TEST(CpuSignature, NameTablesKeepTheirModelNumbers) {
    // The lookup model adds the extended model to base model 15 only, whatever the vendor.
    EXPECT_EQ(LookupModel(0x00000683), 8U);
    EXPECT_EQ(LookupModel(0x000106F2), 16U);
    EXPECT_EQ(LookupModel(0x00050FF3), 20U);
    EXPECT_EQ(LookupModel(0x000206A7), 10U);
}

TEST(CpuSignature, BrandIdAndUnknownKindsKeepOrDropTheNumber) {
    constexpr auto kAmd = TCpuVendor::AMD;
    EXPECT_EQ(TCpuSignatureInformation(0x4C3, kFieldBrandId, kAmd).Value()->Value(), 0x4C3U);
    EXPECT_FALSE(TCpuSignatureInformation(0xFFFFFFFF, kFieldBrandId, kAmd).Extended()->Value());
    EXPECT_EQ(TCpuSignatureInformation(0x00000F29, 5, kAmd).Value()->Value(), 0U);
    EXPECT_FALSE(TCpuSignatureInformation(0x00000F29, 5, kAmd).Extended()->Value());
}

TEST(CpuSignature, AsStringAndSignatureOfAProcessor) {
    const struct {
        std::uint32_t signature;
        const char* text;
    } cases[] = {
        {0x00000683, "x86 Family 6 Model 8 Stepping 3"},
        {0x00000F29, "x86 Family 15 Model 2 Stepping 9"},
        {0x000106F2, "x86 Family 6 Model 31 Stepping 2"},
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
    RecordedProcessor recorded(InlineDump("00000000 00000000 756E6547 6C65746E 49656E69\n"
                                          "00000001 00000683 00000002 00000000 0387FBFF\n"));
    const auto signature = recorded.Processor()->Signature();
    EXPECT_EQ(signature->AsString(), "x86 Family 0 Model 0 Stepping 0");
    EXPECT_EQ(signature->Signature()->Value(), 0U);
    EXPECT_EQ(signature->BrandId()->Value()->Value(), 0U);
}

TEST(CpuSignature, AmdBrandIdFallsBackToTheExtendedCommandOnFamily15) {
    // The 8-bit brand-id field (leaf 1 EBX bits 0-7) is tested, not the whole register; family 15
    // is the K8, from model 4 on. Leaf 1 EBX is given, 0x80000001 EBX holds 0x150.
    const struct {
        const char* vendorId;
        std::uint32_t signature;
        std::uint32_t ebx;
        std::uint32_t brandId;
    } cases[] = {
        {"AuthenticAMD", 0x00000F51, 0, 0x150},
        {"AuthenticAMD", 0x00000F41, 0, 0x150},
        {"AuthenticAMD", 0x00050FF3, 0x00000800, 0x150},
        {"AuthenticAMD", 0x00000F51, 0x00000881, 0x81},
        {"AuthenticAMD", 0x000006A0, 0, 0}, // family 6
        {"AuthenticAMD", 0x00800F11, 0, 0}, // family 23
        {"GenuineIntel", 0x00000F51, 0, 0}, // not AMD
        {"GenuineTMx86", 0x00000F51, 0, 0}, // AMD's feature style, but not AMD
    };
    for (const auto& c : cases) {
        RecordedProcessor recorded(HandMade(c.vendorId, c.signature, c.ebx));
        recorded.Cpu().SetLeaf(0x80000000, Regs(0x80000001, 0, 0, 0));
        recorded.Cpu().SetLeaf(0x80000001, Regs(0, 0x150, 0, 0));
        EXPECT_EQ(recorded.Processor()->Signature()->BrandId()->Value()->Value(), c.brandId)
            << c.vendorId << " " << std::hex << c.signature << " " << c.ebx;
    }
}

} // namespace
} // namespace quelmo
