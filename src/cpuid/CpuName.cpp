#include "cpuid/CpuName.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quelmo {
namespace {

constexpr std::uint32_t kBrandStringFirst = 0x80000002;
constexpr std::uint32_t kBrandStringLast = 0x80000004;
constexpr std::uint32_t kTransmetaStringFirst = 0x80860003;
constexpr std::uint32_t kTransmetaStringLast = 0x80860006;

// Brand indexes whose name depends on the signature: before 0xF13 (and for 3, exactly 0x6B1)
// the first name, from then on the second.
constexpr std::uint32_t kFirstLaterPentium4 = 0xF13;
constexpr std::uint32_t kTualatinCeleron = 0x6B1;

constexpr std::uint32_t k128Kb = 0x20000;
constexpr std::uint32_t k1Mb = 0x100000;
constexpr std::uint32_t kSerialFeatureBit = 18;

// The rows that name a processor by family and model alone.
struct TModelRow {
    TCpuVendor vendor;
    std::uint8_t family;
    std::uint8_t model;
    std::string_view name;
};

constexpr std::array<TModelRow, 43> kModelTable = {{
    {TCpuVendor::Intel, 4, 4, texts::kNameIntel486Sx},
    {TCpuVendor::Intel, 4, 7, texts::kNameIntel486Dx2},
    {TCpuVendor::Intel, 4, 8, texts::kNameIntel486Dx4},
    {TCpuVendor::Intel, 5, 0, texts::kNameIntelPentium},
    {TCpuVendor::Intel, 5, 1, texts::kNameIntelPentium},
    {TCpuVendor::Intel, 5, 2, texts::kNameIntelPentium},
    {TCpuVendor::Intel, 5, 7, texts::kNameIntelPentium},
    {TCpuVendor::Intel, 5, 3, texts::kNameIntelPentiumOverdrive},
    {TCpuVendor::Intel, 5, 4, texts::kNameIntelPentiumMmx},
    {TCpuVendor::Intel, 6, 0, texts::kNameIntelPentiumPro},
    {TCpuVendor::Intel, 6, 1, texts::kNameIntelPentiumPro},
    {TCpuVendor::AMD, 4, 3, texts::kNameAmdAm486Dx2},
    {TCpuVendor::AMD, 4, 7, texts::kNameAmdAm486Dx2},
    {TCpuVendor::AMD, 4, 8, texts::kNameAmdAm486Dx2},
    {TCpuVendor::AMD, 4, 9, texts::kNameAmdAm486Dx2},
    {TCpuVendor::AMD, 4, 14, texts::kNameAmdAm5x86},
    {TCpuVendor::AMD, 4, 15, texts::kNameAmdAm5x86},
    {TCpuVendor::AMD, 5, 0, texts::kNameAmdK5},
    {TCpuVendor::AMD, 5, 1, texts::kNameAmdK5},
    {TCpuVendor::AMD, 5, 2, texts::kNameAmdK5},
    {TCpuVendor::AMD, 5, 3, texts::kNameAmdK5},
    {TCpuVendor::AMD, 5, 6, texts::kNameAmdK6},
    {TCpuVendor::AMD, 5, 7, texts::kNameAmdK6},
    {TCpuVendor::AMD, 5, 8, texts::kNameAmdK6_2},
    {TCpuVendor::AMD, 5, 9, texts::kNameAmdK6_3},
    {TCpuVendor::AMD, 5, 13, texts::kNameAmdK6_3},
    {TCpuVendor::Cyrix, 4, 4, texts::kNameCyrixMediaGx},
    {TCpuVendor::Cyrix, 4, 9, texts::kNameCyrixCx5x86},
    {TCpuVendor::Cyrix, 5, 2, texts::kNameCyrix6x86},
    {TCpuVendor::Cyrix, 5, 4, texts::kNameCyrixGxm},
    {TCpuVendor::Cyrix, 6, 0, texts::kNameCyrix6x86Mx},
    {TCpuVendor::Cyrix, 6, 5, texts::kNameCyrixM2},
    {TCpuVendor::Cyrix, 6, 6, texts::kNameViaCyrixIii},
    {TCpuVendor::Cyrix, 6, 7, texts::kNameViaCyrixIii},
    {TCpuVendor::Cyrix, 6, 8, texts::kNameViaCyrixIii},
    {TCpuVendor::Via, 5, 4, texts::kNameIdtWinChip},
    {TCpuVendor::Via, 5, 8, texts::kNameIdtWinChip2},
    {TCpuVendor::Via, 5, 9, texts::kNameIdtWinChip3},
    {TCpuVendor::NexGen, 5, 0, texts::kNameNexGenNx586},
    {TCpuVendor::UMC, 4, 1, texts::kNameUmcU5D},
    {TCpuVendor::UMC, 4, 2, texts::kNameUmcU5D},
    {TCpuVendor::Rise, 5, 0, texts::kNameRiseIDragon},
    {TCpuVendor::Rise, 5, 2, texts::kNameRiseIDragonIi},
}};

std::string Trimmed(const std::string& text) {
    // Compared as unsigned bytes, so that characters above 0x7F stay.
    const auto keep = [](char c) { return static_cast<unsigned char>(c) > 32; };
    const auto first = std::find_if(text.begin(), text.end(), keep);
    const auto last = std::find_if(text.rbegin(), text.rend(), keep).base();
    return first < last ? std::string(first, last) : std::string();
}

TNameFacts SignatureFacts(std::uint8_t processor) {
    const auto signature = CpuRoot().Processors(processor)->Signature();
    TNameFacts facts;
    facts.family = signature->Family()->Value()->Value();
    facts.type = signature->ProcessorType()->Value()->Value();
    facts.brandIndex = signature->BrandId()->Value()->Value();
    facts.signature = signature->Signature()->Value();
    facts.model = LookupModel(facts.signature);
    return facts;
}

} // namespace

std::string IntelNameByBrandIndex(const TNameFacts& facts) {
    const bool early = facts.signature < kFirstLaterPentium4;
    std::string_view name;
    switch (facts.brandIndex) {
    case 1:
    case 10:
        name = texts::kNameIntelCeleron;
        break;
    case 2:
    case 4:
        name = texts::kNameIntelPentiumIii;
        break;
    case 3:
        name =
            facts.signature == kTualatinCeleron ? texts::kNameIntelCeleron : texts::kNameIntelPentiumIiiXeon;
        break;
    case 6:
        name = texts::kNameIntelMobilePentiumIii;
        break;
    case 7:
    case 15:
        name = texts::kNameIntelMobileCeleron;
        break;
    case 8:
    case 9:
        name = early ? texts::kNameIntelPentium4 : texts::kNameIntelGenuine;
        break;
    case 11:
        name = early ? texts::kNameIntelXeonMp : texts::kNameIntelXeon;
        break;
    case 12:
        name = texts::kNameIntelXeonMp;
        break;
    case 14:
        name = early ? texts::kNameIntelXeon : texts::kNameIntelMobilePentium4;
        break;
    default: // 0, 5, 13, 16 and above
        break;
    }
    return std::string(name);
}

std::string IntelNameByModel(const TNameFacts& facts) {
    if (facts.family == 6) {
        switch (facts.model) {
        case 3:
            return std::string(facts.type == 1 ? texts::kNameIntelPentiumIiOverdrive
                                               : texts::kNameIntelPentiumIi);
        case 5:
            if (facts.level2Size < k128Kb) {
                return std::string(texts::kNameIntelCeleron);
            }
            return std::string(facts.level2Size < k1Mb ? texts::kNameIntelPentiumIi
                                                       : texts::kNameIntelPentiumIiXeon);
        case 6:
            // Mendocino Celerons have 128 KB on the die; only more makes a Mobile Pentium II.
            if (facts.level2Size > k128Kb) {
                return std::string(texts::kNameIntelMobilePentiumIi);
            }
            return std::string(facts.serialFeature ? texts::kNameIntelMobileCeleron
                                                   : texts::kNameIntelCeleron);
        case 7:
            return std::string(facts.level2Size < k1Mb ? texts::kNameIntelPentiumIii
                                                       : texts::kNameIntelPentiumIiiXeon);
        default:
            break;
        }
    }
    return ModelTableName(TCpuVendor::Intel, facts.family, facts.model);
}

std::string ModelTableName(TCpuVendor vendor, std::uint32_t family, std::uint32_t model) {
    for (const TModelRow& row : kModelTable) {
        if (row.vendor == vendor && row.family == family && row.model == model) {
            return std::string(row.name);
        }
    }
    return {};
}

std::string GenericProcessorName(TCpuVendor vendor, std::uint8_t processor) {
    return std::string(VendorInfo(vendor).shortName) +
           CpuRoot().Processors(processor)->Signature()->AsString();
}

std::string TProcessorNameDetect::Name() const {
    const std::uint32_t first = transmeta_ ? kTransmetaStringFirst : kBrandStringFirst;
    const std::uint32_t last = transmeta_ ? kTransmetaStringLast : kBrandStringLast;
    std::string text;
    for (std::uint32_t command = first; command <= last; ++command) {
        text += TCpuid(processor_, command).AsString();
    }
    return text;
}

template <TCpuVendor Vendor>
std::string TVendorProcessorLookup<Vendor>::Name() const {
    std::string name;
    if constexpr (Vendor != TCpuVendor::Unknown && Vendor != TCpuVendor::Transmeta) {
        TNameFacts facts = SignatureFacts(processor_);
        if constexpr (Vendor == TCpuVendor::Intel) {
            name = IntelNameByBrandIndex(facts);
            if (name.empty()) {
                // The level-2 size decides among family 6 models; feature 18 among model 6 ones.
                if (facts.family == 6) {
                    const auto information = CpuRoot().Processors(processor_);
                    facts.level2Size = information->Cache()->Level2()->Size()->Value();
                    if (facts.model == 6 && facts.level2Size <= k128Kb) {
                        facts.serialFeature = information->Features()
                                                  ->Standard()
                                                  ->Features(kSerialFeatureBit)
                                                  ->Available()
                                                  ->Value();
                    }
                }
                name = IntelNameByModel(facts);
            }
        } else {
            name = ModelTableName(Vendor, facts.family, facts.model);
        }
    }
    return name.empty() ? GenericProcessorName(Vendor, processor_) : name;
}

template class TVendorProcessorLookup<TCpuVendor::Unknown>;
template class TVendorProcessorLookup<TCpuVendor::Intel>;
template class TVendorProcessorLookup<TCpuVendor::AMD>;
template class TVendorProcessorLookup<TCpuVendor::Cyrix>;
template class TVendorProcessorLookup<TCpuVendor::Via>;
template class TVendorProcessorLookup<TCpuVendor::NexGen>;
template class TVendorProcessorLookup<TCpuVendor::UMC>;
template class TVendorProcessorLookup<TCpuVendor::Rise>;
template class TVendorProcessorLookup<TCpuVendor::Transmeta>;

CpuRef<ICpuName> MakeProcessorLookup(TCpuVendor vendor, std::uint8_t processor) {
    switch (vendor) {
    case TCpuVendor::Intel:
        return std::make_shared<const TIntelProcessorLookup>(processor);
    case TCpuVendor::AMD:
        return std::make_shared<const TAmdProcessorLookup>(processor);
    case TCpuVendor::Cyrix:
        return std::make_shared<const TCyrixProcessorLookup>(processor);
    case TCpuVendor::Via:
        return std::make_shared<const TIdtProcessorLookup>(processor);
    case TCpuVendor::NexGen:
        return std::make_shared<const TNexGenProcessorLookup>(processor);
    case TCpuVendor::UMC:
        return std::make_shared<const TUmcProcessorLookup>(processor);
    case TCpuVendor::Rise:
        return std::make_shared<const TRiseProcessorLookup>(processor);
    case TCpuVendor::Transmeta:
        return std::make_shared<const TTransmetaProcessorLookup>(processor);
    default:
        return std::make_shared<const TUnknownProcessorLookup>(processor);
    }
}

TProcessorName::TProcessorName(std::uint8_t processor) : processor_(processor) {
    const auto information = CpuRoot().Processors(processor);
    transmeta_ = information->Vendor()->Vendor() == TCpuVendor::Transmeta;
    const auto ranges = information->Cpuid();
    fromLookup_ = transmeta_ ? ranges->Transmeta()->MaxCommand()->Value() < kTransmetaStringLast
                             : ranges->Extended()->MaxCommand()->Value() < kBrandStringLast;
}

std::string TProcessorName::Name() const {
    if (fromLookup_) {
        const auto vendor = CpuRoot().Processors(processor_)->Vendor()->Vendor();
        return MakeProcessorLookup(vendor, processor_)->Name();
    }
    return Trimmed(TProcessorNameDetect(processor_, transmeta_).Name());
}

} // namespace quelmo
