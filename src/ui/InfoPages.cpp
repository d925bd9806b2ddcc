#include "ui/InfoPages.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuSpeed.h"
#include "cpuid/CpuTexts.h"
#include "ui/InfoFormTexts.h"

#include <algorithm>

namespace quelmo::ui {
namespace {

constexpr std::uint32_t kFeatureSlots = 32;

std::string Text(std::string_view text) {
    return std::string(text);
}

InfoNode Node(std::string_view caption, int code, std::vector<InfoNode> children = {}) {
    return InfoNode{Text(caption), code, std::move(children)};
}

InfoNode ProcessorNode(std::uint8_t p) {
    const int base = 100 * p;
    const std::string name = CpuRoot().Processors(p)->Name()->Name();
    const std::string index = std::to_string(p);
    return Node(FormatText(texts::kNodeProcessor, {index, name}), base + kPageProcessor,
                {
                    Node(texts::kNodeCpuid, kCodeGroup,
                         {Node(texts::kNodeStandard, base + kPageCpuid + 0),
                          Node(texts::kNodeExtended, base + kPageCpuid + 1),
                          Node(texts::kNodeTransmeta, base + kPageCpuid + 2)}),
                    Node(texts::kNodeSignature, base + kPageSignature),
                    Node(texts::kNodeFeatureSets, kCodeGroup,
                         {Node(texts::kNodeStandard, base + kPageFeatures + 1),
                          Node(texts::kNodeStandardEx, base + kPageFeatures + 2),
                          Node(texts::kNodeExtended, base + kPageFeatures + 3),
                          Node(texts::kNodePower, base + kPageFeatures + 4)}),
                    Node(texts::kNodeCache, kCodeGroup,
                         {Node(texts::kNodeLevel1, kCodeGroup,
                               {Node(texts::kNodeCode, base + kPageCache + 0),
                                Node(texts::kNodeData, base + kPageCache + 1),
                                Node(texts::kNodeUnified, base + kPageCache + 2)}),
                          Node(texts::kNodeLevel2, base + kPageCache + 3),
                          Node(texts::kNodeLevel3, base + kPageCache + 4),
                          Node(texts::kNodeTrace, base + kPageCache + 5)}),
                    Node(texts::kNodeErrata, base + kPageErrata),
                    Node(texts::kNodeVendor, base + kPageVendor),
                });
}

void Add(std::vector<PropertyRow>& rows, std::string_view caption, std::string value) {
    rows.push_back({Text(caption), std::move(value)});
}

std::string_view FeatureStyleText(std::uint8_t style) {
    switch (style) {
    case kFeatureStyleCommon:
        return texts::kStyleCommon;
    case kFeatureStyleIntel:
        return texts::kStyleIntel;
    case kFeatureStyleAmd:
        return texts::kStyleAmd;
    case kFeatureStyleCyrix:
        return texts::kStyleCyrix;
    default:
        return texts::kStyleUnknown;
    }
}

std::string_view CacheStyleText(std::uint8_t style) {
    switch (style) {
    case kCacheStyleStandard:
        return texts::kCacheStandardCpuid;
    case kCacheStyleExtended:
        return texts::kCacheExtendedCpuid;
    case kCacheStyleCombined:
        return texts::kCacheCombinedCpuid;
    default:
        return texts::kStyleUnknown;
    }
}

// The "Speed" value is left for MeasureClockText.
void ProcessorPage(PropertyPage& page, const ICpuInformation& cpu) {
    std::vector<PropertyRow>& rows = page.rows;
    Add(rows, texts::kRowName, cpu.Name()->Name());
    page.clockRow = rows.size();
    Add(rows, texts::kRowSpeed, {});
    const auto serial = cpu.Serial();
    if (serial->Available()->Value()) {
        Add(rows, texts::kRowSerial, serial->AsString());
    }
}

void CpuidPage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu, int unit) {
    const auto ranges = cpu.Cpuid();
    CpuRef<ICpuidInformation> range;
    switch (unit) {
    case 0:
        range = ranges->Standard();
        break;
    case 1:
        range = ranges->Extended();
        break;
    case 2:
        range = ranges->Transmeta();
        break;
    default:
        return;
    }
    Add(rows, texts::kRowAvailable, range->Available()->AsYesNo());
    Add(rows, texts::kRowMaximumCommand, range->MaxCommand()->AsHex());
}

void SignaturePage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu) {
    const auto signature = cpu.Signature();
    Add(rows, texts::kRowGeneric, signature->AsString());
    Add(rows, texts::kRowType, signature->ProcessorType()->Value()->AsString());
    Add(rows, texts::kRowFamily, signature->Family()->Value()->AsString());
    Add(rows, texts::kRowModel, signature->Model()->Value()->AsString());
    Add(rows, texts::kRowStepping, signature->Stepping()->Value()->AsString());
    Add(rows, texts::kRowBrand, signature->BrandId()->Value()->AsString());
}

void FeaturesPage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu, int unit) {
    const auto features = cpu.Features();
    CpuRef<ICpuFeatureSet> set;
    switch (unit) {
    case 1:
        set = features->Standard();
        break;
    case 2:
        set = features->StandardExtensions();
        break;
    case 3:
        set = features->Extended();
        break;
    case 4:
        set = features->PowerManagement();
        break;
    default:
        return;
    }
    const auto available = set->Available();
    Add(rows, texts::kRowFeatureSetAvailable, available->AsYesNo());
    Add(rows, texts::kRowNumberOfFeatures, set->Count()->AsString());
    if (!available->Value()) {
        return;
    }
    for (std::uint32_t bit = 0; bit < kFeatureSlots; ++bit) {
        const auto feature = set->Features(bit);
        const std::string mnemonic = feature->Mnemonic();
        if (mnemonic != texts::kUnknownMnemonic) {
            Add(rows, mnemonic, feature->Available()->AsYesNo());
        }
    }
}

void CachePage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu, int unit) {
    const auto caches = cpu.Cache();
    CpuRef<ICpuCache> cache;
    switch (unit) {
    case 0:
        cache = caches->Level1()->Code();
        break;
    case 1:
        cache = caches->Level1()->Data();
        break;
    case 2:
        cache = caches->Level1()->Unified();
        break;
    case 3:
        cache = caches->Level2();
        break;
    case 4:
        cache = caches->Level3();
        break;
    case 5:
        cache = caches->Trace();
        break;
    default:
        return;
    }
    Add(rows, texts::kRowAvailable, cache->Available()->AsYesNo());
    Add(rows, texts::kRowAssociativity, cache->Associativity()->Text());
    Add(rows, texts::kRowLineSize, cache->LineSize()->AsSize());
    Add(rows, texts::kRowSize, cache->Size()->AsSize());
}

void VendorPage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu) {
    const auto vendor = cpu.Vendor();
    Add(rows, texts::kRowName, vendor->Name());
    Add(rows, texts::kRowSignature, vendor->VendorId());
    Add(rows, texts::kRowFeatureSet, Text(FeatureStyleText(vendor->FeatureStyle())));
    Add(rows, texts::kRowCacheDetect, Text(CacheStyleText(vendor->CacheStyle())));
}

void ErrataPage(std::vector<PropertyRow>& rows, const ICpuInformation& cpu) {
    const auto errata = cpu.Errata();
    Add(rows, texts::kRowFDivError, errata->FDivError()->AsYesNo());
    Add(rows, texts::kRowDuronCache, errata->DuronCache()->AsYesNo());
}

} // namespace

std::vector<InfoNode> BuildInfoTree() {
    std::vector<InfoNode> tree;
    tree.push_back(Node(texts::kNodeProcessorCount, kCodeProcessorCount));
    const std::uint32_t count = CpuRoot().ProcessorCount()->Available()->Value();
    InfoNode processors = Node(FormatText(texts::kNodeProcessors, {std::to_string(count)}), kCodeGroup);
    // Processor indexes are bytes.
    const std::uint32_t shown = std::min<std::uint32_t>(count, 256);
    for (std::uint32_t p = 0; p < shown; ++p) {
        processors.children.push_back(ProcessorNode(static_cast<std::uint8_t>(p)));
    }
    tree.push_back(std::move(processors));
    return tree;
}

NodeAddress DecodeNodeCode(int code) {
    if (code == kCodeGroup) {
        return {kPageGroup, 0, 0};
    }
    NodeAddress address;
    address.processor = static_cast<std::uint8_t>(code / 100);
    const int r = code - 100 * address.processor;
    address.page = (r / 10) * 10;
    address.unit = r - address.page;
    return address;
}

std::vector<PropertyRow> BuildPropertyRows(int code) {
    PropertyPage page = PlanPropertyPage(code);
    if (page.clockRow) {
        page.rows[*page.clockRow].value = MeasureClockText(page.processor);
    }
    return std::move(page.rows);
}

PropertyPage PlanPropertyPage(int code) {
    PropertyPage page;
    std::vector<PropertyRow>& rows = page.rows;
    const NodeAddress address = DecodeNodeCode(code);
    page.processor = address.processor;
    if (address.page == kPageGroup) {
        Add(rows, texts::kRowNoItems, Text(texts::kRowDoubleClick));
        return page;
    }
    if (address.page == kPageProcessorCount) {
        const auto count = CpuRoot().ProcessorCount();
        Add(rows, texts::kRowAvailableProcessors, count->Available()->AsString());
        Add(rows, texts::kRowVirtualProcessors, count->Virtual()->AsString());
        return page;
    }
    const auto cpu = CpuRoot().Processors(address.processor);
    switch (address.page) {
    case kPageProcessor:
        ProcessorPage(page, *cpu);
        break;
    case kPageCpuid:
        CpuidPage(rows, *cpu, address.unit);
        break;
    case kPageSignature:
        SignaturePage(rows, *cpu);
        break;
    case kPageFeatures:
        FeaturesPage(rows, *cpu, address.unit);
        break;
    case kPageCache:
        CachePage(rows, *cpu, address.unit);
        break;
    case kPageVendor:
        VendorPage(rows, *cpu);
        break;
    case kPageErrata:
        ErrataPage(rows, *cpu);
        break;
    default:
        break; // a code that selects no page shows no rows
    }
    return page;
}

// Made directly rather than through the root, so a worker thread never touches the library's
// shared state: measuring needs only the time-stamp counter and the clocks.
std::string MeasureClockText(std::uint8_t processor) {
    return TProcessorSpeedInformation(processor).NormalizedSpeed()->AsFrequency();
}

FeatureList BuildFeatureList(std::uint8_t kind) {
    FeatureList list;
    const TCpuFeatureSet set(0, kind);
    if (!set.Available()->Value()) {
        list.label = Text(texts::kInfoSetUnavailable);
        return list;
    }
    list.label = FormatText(texts::kInfoAvailableFeatures, {set.Count()->AsString()});
    for (std::uint32_t bit = 0; bit < kFeatureSlots; ++bit) {
        const auto feature = set.Features(bit);
        std::string mnemonic = feature->Mnemonic();
        if (mnemonic == texts::kUnknownMnemonic) {
            continue;
        }
        list.rows.push_back(
            {feature->Bit(), std::move(mnemonic), feature->Description(), feature->Available()->Value()});
    }
    return list;
}

std::vector<std::string_view> FeatureSetChoices() {
    return {texts::kInfoSetStandard, texts::kInfoSetStandardExtensions, texts::kInfoSetExtended,
            texts::kInfoSetPowerManagement};
}

std::string VersionCaption(std::string_view designCaption) {
    return std::string(designCaption) + " " + CpuRoot().Version()->AsVersion();
}

} // namespace quelmo::ui
