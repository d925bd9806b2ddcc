#include "cpuid/CpuFeatures.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"
#include "cpuid/Cpuid.h"

namespace quelmo {
namespace {

constexpr std::uint8_t Sets(std::initializer_list<int> kinds) {
    std::uint8_t sets = 0;
    for (const int kind : kinds) {
        sets = static_cast<std::uint8_t>(sets | (1U << kind));
    }
    return sets;
}

constexpr std::uint8_t kCommon = kFeatureStyleCommon;
constexpr std::uint8_t kAmd = kFeatureStyleAmd;
constexpr std::uint8_t kCyrix = kFeatureStyleCyrix;
constexpr std::uint8_t kStd = Sets({1});
constexpr std::uint8_t kStdExt = Sets({1, 3});
constexpr std::uint8_t kStdEx = Sets({2});
constexpr std::uint8_t kExt = Sets({3});
constexpr std::uint8_t kPower = Sets({4});

// Rows sharing a bit are ordered so that the later one wins within its pass.
constexpr std::array<TFeatureDetail, 48> kFeatureTable = {{
    {0, "FPU", texts::kFeatureFpu, kCommon, kStdExt},
    {0, "TS", texts::kFeatureTs, kAmd, kPower},
    {1, "VME", texts::kFeatureVme, kCommon, kStdExt},
    {1, "FID", texts::kFeatureFid, kAmd, kPower},
    {2, "DE", texts::kFeatureDe, kCommon, kStdExt},
    {2, "VID", texts::kFeatureVid, kAmd, kPower},
    {3, "PSE", texts::kFeaturePse, kCommon, kStdExt},
    {3, "TPP", texts::kFeatureTpp, kAmd, kPower},
    {4, "TSC", texts::kFeatureTsc, kCommon, kStdExt},
    {4, "TM", texts::kFeatureTm, kAmd, kPower},
    {5, "MSR", texts::kFeatureMsr, kCommon, kStdExt},
    {5, "STC", texts::kFeatureStc, kAmd, kPower},
    {6, "PAE", texts::kFeaturePae, kCommon, kStdExt},
    {7, "MCE", texts::kFeatureMce, kCommon, kStdExt},
    // Leaf 1 ECX: Enhanced SpeedStep is bit 7 and Thermal Monitor 2 bit 8 (Intel's documents).
    {8, "TM2", texts::kFeatureTm2, kCommon, kStdEx},
    {8, "CX8", texts::kFeatureCx8, kCommon, kStdExt},
    {7, "EST", texts::kFeatureEst, kCommon, kStdEx},
    {9, "APIC", texts::kFeatureApic, kCommon, kStdExt},
    {10, "CID", texts::kFeatureCid, kCommon, kStdEx},
    {11, "SEP", texts::kFeatureSep, kCommon, kStdExt},
    {12, "MTRR", texts::kFeatureMtrr, kCommon, kStdExt},
    {13, "PGE", texts::kFeaturePge, kCommon, kStdExt},
    {14, "MCA", texts::kFeatureMca, kCommon, kStdExt},
    {15, "CMOV", texts::kFeatureCmov, kCommon, kStdExt},
    {16, "PAT", texts::kFeaturePat, kCommon, kStdExt},
    {17, "PSE36", texts::kFeaturePse36, kCommon, kStd},
    {18, "PSN", texts::kFeaturePsn, kCommon, kStd},
    {19, "CLFSH", texts::kFeatureClfsh, kCommon, kStdExt},
    {19, "MP", texts::kFeatureMp, kAmd, kExt},
    {20, "NX", texts::kFeatureNx, kAmd, kExt},
    {20, "NX", texts::kFeatureNx, kCyrix, kExt},
    {21, "DTES", texts::kFeatureDtes, kCommon, kStd},
    {22, "ACPI", texts::kFeatureAcpi, kCommon, kStd},
    {22, "MMX+", texts::kFeatureMmxExt, kAmd, kExt},
    {23, "MMX", texts::kFeatureMmx, kCommon, kStdExt},
    {24, "FXSR", texts::kFeatureFxsr, kCommon, kStdExt},
    {24, "MMX+", texts::kFeatureMmxExt, kCyrix, kExt},
    {25, "SSE", texts::kFeatureSse, kCommon, kStd},
    {26, "SSE2", texts::kFeatureSse2, kCommon, kStd},
    {27, "SS", texts::kFeatureSs, kCommon, kStd},
    {28, "HTT", texts::kFeatureHtt, kCommon, kStd},
    {29, "TM", texts::kFeatureTm, kCommon, kStd},
    {29, "LM", texts::kFeatureLm, kAmd, kExt},
    {29, "LM", texts::kFeatureLm, kCyrix, kExt},
    {30, "IA-64", texts::kFeatureIa64, kCommon, kStd},
    {30, "3DNOW+", texts::kFeature3DNowExt, kAmd, kExt},
    {31, "SBF", texts::kFeatureSbf, kCommon, kStd},
    {31, "3DNOW", texts::kFeature3DNow, kAmd, kExt},
}};

bool InSet(const TFeatureDetail& row, std::uint8_t kind) {
    return kind <= 7 && (row.sets & (1U << kind)) != 0;
}

// ASCII letters only: the stored mnemonics are compared exactly afterwards.
std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::uint32_t CommandOfSet(std::uint8_t kind) {
    switch (kind) {
    case kSetExtended:
        return 0x80000001;
    case kSetPowerManagement:
        return 0x80000007;
    default:
        return 1;
    }
}

} // namespace

std::span<const TFeatureDetail> FeatureTable() {
    return kFeatureTable;
}

TFeatureSetDefinition::TFeatureSetDefinition(std::uint8_t processor, std::uint8_t kind)
    : processor_(processor) {
    const std::uint8_t featureStyle = CpuRoot().Processors(processor)->Vendor()->FeatureStyle();
    slots_.fill(kNoSlot);
    const auto place = [&](std::uint8_t vendor) {
        for (std::size_t row = 0; row < kFeatureTable.size(); ++row) {
            if (kFeatureTable[row].vendor == vendor && InSet(kFeatureTable[row], kind)) {
                slots_[kFeatureTable[row].bit] = static_cast<std::uint8_t>(row);
            }
        }
    };
    place(kFeatureStyleCommon);
    if (featureStyle != kFeatureStyleCommon) {
        place(featureStyle);
    }
    for (const std::uint8_t row : slots_) {
        count_ += row != kNoSlot ? 1 : 0;
    }
}

std::uint8_t TFeatureSetDefinition::IndexOf(std::string_view mnemonic) const {
    const std::string m = UpperAscii(mnemonic);
    const auto information = CpuRoot().Processors(processor_);
    const auto processorVendor = information->Vendor();
    const std::uint8_t featureStyle = processorVendor->FeatureStyle();
    if (featureStyle == kFeatureStyleAmd || featureStyle == kFeatureStyleCyrix) {
        // Slots that some processors report a feature in, whatever the table puts there.
        const TCpuVendor vendor = processorVendor->Vendor();
        if (m == "MMX+") {
            if (vendor == TCpuVendor::AMD) {
                return 22;
            }
            if (vendor == TCpuVendor::Cyrix) {
                return 24;
            }
        } else if (m == "PGE" || m == "SEP") {
            const auto signature = information->Signature();
            const std::uint32_t family = signature->Family()->Value()->Value();
            const std::uint32_t model = signature->Model()->Value()->Value();
            if (m == "PGE" && vendor == TCpuVendor::AMD && family == 5 && model == 0) {
                return 9;
            }
            if (m == "SEP" && vendor == TCpuVendor::AMD && family == 6) {
                return 10;
            }
        }
    }
    for (std::uint8_t slot = 0; slot < 32; ++slot) {
        const std::string_view stored = slots_[slot] == kNoSlot ? "" : kFeatureTable[slots_[slot]].mnemonic;
        if (stored == m) {
            return slot;
        }
    }
    return kNoSlot;
}

std::uint8_t TCpuFeature::Bit() const {
    return kFeatureTable[row_].bit;
}

std::string TCpuFeature::Mnemonic() const {
    return std::string(kFeatureTable[row_].mnemonic);
}

std::string TCpuFeature::Description() const {
    return std::string(kFeatureTable[row_].description);
}

CpuRef<ICpuBoolean> TCpuFeature::Available() const {
    // An unavailable command leaves its registers 0, so its bits read false.
    const TCpuid command(processor_, CommandOfSet(kind_));
    const auto reg = kind_ == kSetStandardExtensions ? command.Ecx() : command.Edx();
    return reg->Bit(kFeatureTable[row_].bit);
}

std::string TUnknownFeature::Mnemonic() const {
    return std::string(texts::kUnknownMnemonic);
}

std::string TUnknownFeature::Description() const {
    return std::string(texts::kUnknownDescription);
}

TCpuFeatureSet::TCpuFeatureSet(std::uint8_t processor, std::uint8_t kind)
    : processor_(processor), kind_(kind), definition_(processor, kind) {}

CpuRef<ICpuBoolean> TCpuFeatureSet::Available() const {
    const TProcessorCpuid ranges(processor_);
    switch (kind_) {
    case kSetStandard:
    case kSetStandardExtensions:
        return CpuBoolean(ranges.Standard()->MaxCommand()->Value() >= 1);
    case kSetExtended:
        return CpuBoolean(ranges.Extended()->MaxCommand()->Value() >= 0x80000001);
    case kSetPowerManagement:
        return CpuBoolean(ranges.Extended()->MaxCommand()->Value() >= 0x80000007);
    default:
        return CpuBoolean(false);
    }
}

CpuRef<ICpuNumber> TCpuFeatureSet::Count() const {
    return Available()->Value() ? definition_.Count() : CpuNumber(0);
}

CpuRef<ICpuFeature> TCpuFeatureSet::Features(std::uint32_t bit) const {
    const std::uint8_t row = definition_.RowOf(bit);
    if (row == kNoSlot) {
        return std::make_shared<const TUnknownFeature>();
    }
    return std::make_shared<const TCpuFeature>(processor_, row, kind_);
}

CpuRef<ICpuFeature> TCpuFeatureSet::FeatureByName(std::string_view mnemonic) const {
    return Features(definition_.IndexOf(mnemonic));
}

std::uint8_t SetKindOfMnemonic(std::string_view mnemonic) {
    const std::string m = UpperAscii(mnemonic);
    for (const TFeatureDetail& row : kFeatureTable) {
        if (row.mnemonic == m) {
            for (std::uint8_t kind = kSetStandard; kind <= kSetPowerManagement; ++kind) {
                if (InSet(row, kind)) {
                    return kind;
                }
            }
            return 0;
        }
    }
    return 0;
}

CpuRef<ICpuFeatureSet> TProcessorFeatures::Set(std::uint8_t kind) const {
    return std::make_shared<const TCpuFeatureSet>(processor_, kind);
}

CpuRef<ICpuFeature> TProcessorFeatures::FeatureByName(std::string_view mnemonic) const {
    return Set(SetKindOfMnemonic(mnemonic))->FeatureByName(mnemonic);
}

} // namespace quelmo
