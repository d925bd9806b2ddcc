#include "cpuid/CpuVendor.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"

namespace quelmo {
namespace {

// Row 1's identification is a placeholder no processor reports.
constexpr std::array<TCpuVendorInfo, 9> kVendorTable = {{
    {"BadCpuVendor", texts::kShortUnknown, texts::kVendorUnknown, kFeatureStyleCommon, kCacheStyleStandard},
    {"GenuineIntel", texts::kShortIntel, texts::kVendorIntel, kFeatureStyleIntel, kCacheStyleStandard},
    {"AuthenticAMD", texts::kShortAmd, texts::kVendorAmd, kFeatureStyleAmd, kCacheStyleExtended},
    {"CyrixInstead", texts::kShortCyrix, texts::kVendorVia, kFeatureStyleCyrix, kCacheStyleCombined},
    {"CentaurHauls", texts::kShortVia, texts::kVendorVia, kFeatureStyleCommon, kCacheStyleExtended},
    {"NexGenDriven", texts::kShortNexGen, texts::kVendorNexGen, kFeatureStyleCommon, kCacheStyleStandard},
    {"UMC UMC UMC ", texts::kShortUmc, texts::kVendorUmc, kFeatureStyleCommon, kCacheStyleStandard},
    {"RiseRiseRise", texts::kShortRise, texts::kVendorRise, kFeatureStyleCommon, kCacheStyleStandard},
    {"GenuineTMx86", texts::kShortTransmeta, texts::kVendorTransmeta, kFeatureStyleAmd, kCacheStyleExtended},
}};

constexpr std::uint32_t Bits(std::uint32_t value, unsigned low, unsigned high) {
    return (value >> low) & ((1U << (high - low + 1)) - 1);
}

} // namespace

const TCpuVendorInfo& VendorInfo(TCpuVendor vendor) {
    const auto row = static_cast<std::size_t>(vendor);
    return (row >= 1 && row <= kVendorTable.size()) ? kVendorTable[row - 1] : kVendorTable[0];
}

TCpuVendor VendorOfId(std::string_view vendorId) {
    for (std::size_t row = 1; row <= kVendorTable.size(); ++row) {
        if (kVendorTable[row - 1].vendorId == vendorId) {
            return static_cast<TCpuVendor>(row);
        }
    }
    return TCpuVendor::Unknown;
}

TProcessorVendor::TProcessorVendor(std::uint8_t processor) {
    const TCpuid command0(processor, 0);
    // The identification reads EBX, EDX, ECX: "Genu" "ineI" "ntel".
    const std::string id = command0.Ebx()->AsChars() + command0.Edx()->AsChars() + command0.Ecx()->AsChars();
    vendor_ = VendorOfId(id);
}

std::string TProcessorVendor::VendorId() const {
    return std::string(VendorInfo(vendor_).vendorId);
}

std::string TProcessorVendor::Name() const {
    return std::string(VendorInfo(vendor_).fullName);
}

std::uint8_t TProcessorVendor::FeatureStyle() const {
    return VendorInfo(vendor_).featureStyle;
}

std::uint8_t TProcessorVendor::CacheStyle() const {
    return VendorInfo(vendor_).cacheStyle;
}

CpuRef<ICpuNumber> TCpuSignatureInformation::Value() const {
    std::uint32_t value = 0;
    switch (kind_) {
    case kFieldType:
        value = Bits(raw_, 12, 13);
        break;
    case kFieldFamily:
        value = Bits(raw_, 8, 11);
        if (value == 15) {
            value += Bits(raw_, 20, 27);
        }
        break;
    case kFieldModel:
        value = DisplayModel(vendor_, raw_);
        break;
    case kFieldStepping:
        value = Bits(raw_, 0, 3);
        break;
    case kFieldBrandId:
        value = raw_;
        break;
    default:
        break;
    }
    return CpuNumber(value);
}

CpuRef<ICpuBoolean> TCpuSignatureInformation::Extended() const {
    switch (kind_) {
    case kFieldFamily:
        return CpuBoolean(Bits(raw_, 8, 11) == 15);
    case kFieldModel:
        return CpuBoolean(CombinesExtendedModel(vendor_, raw_));
    default:
        return CpuBoolean(false);
    }
}

TProcessorSignature::TProcessorSignature(std::uint8_t processor)
    : processor_(processor), vendor_(CpuRoot().Processors(processor)->Vendor()->Vendor()),
      command1_(processor, 1) {}

CpuRef<ICpuSignatureField> TProcessorSignature::Field(std::uint8_t kind) const {
    return std::make_shared<const TCpuSignatureInformation>(command1_.Eax()->Value(), kind, vendor_);
}

CpuRef<ICpuSignatureField> TProcessorSignature::BrandId() const {
    std::uint32_t brandId = command1_.Ebx()->Value() & 0xFF;
    // K8 processors leave the 8-bit field empty and report their brand in 0x80000001 instead.
    if (vendor_ == TCpuVendor::AMD && brandId == 0 && Family()->Value()->Value() == 15) {
        brandId = TCpuid(processor_, 0x80000001).Ebx()->Value();
    }
    return std::make_shared<const TCpuSignatureInformation>(brandId, kFieldBrandId, vendor_);
}

std::string TProcessorSignature::AsString() const {
    return FormatText(texts::kSignatureGeneric, {Family()->Value()->AsString(), Model()->Value()->AsString(),
                                                 Stepping()->Value()->AsString()});
}

CpuRef<ICpuNumber> TProcessorSignature::Signature() const {
    return command1_.Eax();
}

} // namespace quelmo
