#include "cpuid/CpuCache.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace quelmo {
namespace {

struct TAssociativityRow {
    std::uint32_t code; // as the associativity fields of command 0x80000006 encode it
    std::uint32_t ways; // 0 none, kFullyAssociative full
};

// The first seven rows keep the indexes they always had; the larger way counts follow.
constexpr std::array<TAssociativityRow, 12> kAssociativityTable = {{
    {0x0, 0},
    {0x1, 1},
    {0x2, 2},
    {0x4, 4},
    {0x6, 8},
    {0x8, 16},
    {0xF, kFullyAssociative},
    {0xA, 32},
    {0xB, 48},
    {0xC, 64},
    {0xD, 96},
    {0xE, 128},
}};

template <class Match>
std::uint8_t AssociativityRow(Match match) {
    const auto found = std::find_if(kAssociativityTable.begin(), kAssociativityTable.end(), match);
    return found == kAssociativityTable.end()
               ? kNoAssociativityRow
               : static_cast<std::uint8_t>(found - kAssociativityTable.begin());
}

// The associativity text of a way count.
std::string WaysText(std::uint32_t ways) {
    switch (ways) {
    case 0:
        return std::string(texts::kAssociativityNone);
    case 1:
        return std::string(texts::kAssociativityDirect);
    case kFullyAssociative:
        return std::string(texts::kAssociativityFull);
    default:
        return FormatText(texts::kAssociativityWays, {std::to_string(ways)});
    }
}

// Whether a descriptor row applies to the processor: 0x49 is Intel's only descriptor whose
// meaning depends on the processor.
enum class TDescriptorCondition : std::uint8_t { Always, XeonMpF6, NotXeonMpF6 };

struct TDescriptorRow {
    std::uint8_t descriptor;
    std::uint8_t kind;
    std::uint8_t ways;
    std::uint16_t sizeKb; // a trace cache's size is its thousands of micro-operations
    std::uint8_t lineSize;
    TDescriptorCondition condition = TDescriptorCondition::Always;
};

// Walked in this order; the last reported row of a kind wins. The first 36 rows are the ones the
// library always had, in their order (0x40 overrides the older level-2 and level-3 rows above it);
// the rest are the other cache descriptors Intel documents, none of which 0x40 overrides.
constexpr auto kXeonMp = TDescriptorCondition::XeonMpF6;
constexpr auto kNotXeonMp = TDescriptorCondition::NotXeonMpF6;
constexpr TDescriptorRow kDescriptorTable[] = {
    {0x06, kCacheCode, 4, 8, 32},
    {0x08, kCacheCode, 4, 16, 32},
    {0x30, kCacheCode, 8, 32, 64},
    {0x0A, kCacheData, 2, 8, 32},
    {0x0C, kCacheData, 4, 16, 32},
    {0x2C, kCacheData, 8, 32, 64},
    {0x66, kCacheData, 4, 8, 64},
    {0x67, kCacheData, 4, 16, 64},
    {0x68, kCacheData, 4, 32, 64},
    {0x39, kCacheLevel2, 4, 128, 64},
    {0x3B, kCacheLevel2, 2, 128, 64},
    {0x3C, kCacheLevel2, 4, 256, 64},
    {0x40, kCacheLevel2, 0, 0, 0},
    {0x41, kCacheLevel2, 4, 128, 32},
    {0x42, kCacheLevel2, 4, 256, 32},
    {0x43, kCacheLevel2, 4, 512, 32},
    {0x44, kCacheLevel2, 4, 1024, 32},
    {0x45, kCacheLevel2, 4, 2048, 32},
    {0x79, kCacheLevel2, 8, 128, 64},
    {0x7A, kCacheLevel2, 8, 256, 64},
    {0x7B, kCacheLevel2, 8, 512, 64},
    {0x7C, kCacheLevel2, 8, 1024, 64},
    {0x82, kCacheLevel2, 8, 256, 32},
    {0x83, kCacheLevel2, 8, 512, 32},
    {0x84, kCacheLevel2, 8, 1024, 32},
    {0x85, kCacheLevel2, 8, 2048, 32},
    {0x86, kCacheLevel2, 4, 512, 64},
    {0x87, kCacheLevel2, 8, 1024, 64},
    {0x22, kCacheLevel3, 4, 512, 64},
    {0x23, kCacheLevel3, 8, 1024, 64},
    {0x25, kCacheLevel3, 8, 2048, 64},
    {0x29, kCacheLevel3, 8, 4096, 64},
    {0x40, kCacheLevel3, 0, 0, 0},
    {0x70, kCacheTrace, 8, 12, 0},
    {0x71, kCacheTrace, 8, 16, 0},
    {0x72, kCacheTrace, 8, 32, 0},
    // Level-1 code and data.
    {0x09, kCacheCode, 4, 32, 64},
    {0x0D, kCacheData, 4, 16, 64},
    {0x0E, kCacheData, 6, 24, 64},
    {0x60, kCacheData, 8, 16, 64},
    // Level 2.
    {0x1D, kCacheLevel2, 2, 128, 64},
    {0x21, kCacheLevel2, 8, 256, 64},
    {0x24, kCacheLevel2, 16, 1024, 64},
    {0x3A, kCacheLevel2, 6, 192, 64},
    {0x3D, kCacheLevel2, 6, 384, 64},
    {0x3E, kCacheLevel2, 4, 512, 64},
    {0x3F, kCacheLevel2, 2, 256, 64},
    {0x48, kCacheLevel2, 12, 3072, 64},
    {0x49, kCacheLevel2, 16, 4096, 64, kNotXeonMp},
    {0x4E, kCacheLevel2, 24, 6144, 64},
    {0x78, kCacheLevel2, 4, 1024, 64},
    {0x7D, kCacheLevel2, 8, 2048, 64},
    {0x7F, kCacheLevel2, 2, 512, 64},
    {0x80, kCacheLevel2, 8, 512, 64},
    // Level 3.
    {0x46, kCacheLevel3, 4, 4096, 64},
    {0x47, kCacheLevel3, 8, 8192, 64},
    {0x49, kCacheLevel3, 16, 4096, 64, kXeonMp},
    {0x4A, kCacheLevel3, 12, 6144, 64},
    {0x4B, kCacheLevel3, 16, 8192, 64},
    {0x4C, kCacheLevel3, 12, 12288, 64},
    {0x4D, kCacheLevel3, 16, 16384, 64},
    {0xD0, kCacheLevel3, 4, 512, 64},
    {0xD1, kCacheLevel3, 4, 1024, 64},
    {0xD2, kCacheLevel3, 4, 2048, 64},
    {0xD6, kCacheLevel3, 8, 1024, 64},
    {0xD7, kCacheLevel3, 8, 2048, 64},
    {0xD8, kCacheLevel3, 8, 4096, 64},
    {0xDC, kCacheLevel3, 12, 1536, 64},
    {0xDD, kCacheLevel3, 12, 3072, 64},
    {0xDE, kCacheLevel3, 12, 6144, 64},
    {0xE2, kCacheLevel3, 16, 2048, 64},
    {0xE3, kCacheLevel3, 16, 4096, 64},
    {0xE4, kCacheLevel3, 16, 8192, 64},
    {0xEA, kCacheLevel3, 24, 12288, 64},
    {0xEB, kCacheLevel3, 24, 18432, 64},
    {0xEC, kCacheLevel3, 24, 24576, 64},
    // Trace.
    {0x73, kCacheTrace, 8, 64, 0},
};

constexpr std::uint32_t kFirstExtendedCacheCommand = 0x80000005;  // level 1
constexpr std::uint32_t kSecondExtendedCacheCommand = 0x80000006; // levels 2 and 3
// Stands for "no command" for the kinds the extended leaves do not report. It is judged against
// the standard range, whose maximum never reaches it, and its registers are never read.
constexpr std::uint32_t kNoExtendedCacheCommand = 0x80000099;
constexpr std::uint32_t kCacheParametersCommand = 4;
constexpr std::uint8_t kUseCommand4 = 0xFF;
constexpr std::uint32_t kTopologyExtensionsBit = 22; // of 0x80000001 ECX
// Cache-enumeration sub-leaves end with one of type 0; this bounds a processor that never says so.
constexpr std::uint32_t kMaxCacheSubleaves = 32;

constexpr std::uint32_t Bits(std::uint32_t value, unsigned low, unsigned high) {
    return static_cast<std::uint32_t>((value >> low) & ((std::uint64_t{1} << (high - low + 1)) - 1));
}

// A size in bytes as the 32-bit number the library hands out; larger sizes are capped.
std::uint32_t Capped(std::uint64_t bytes) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}

struct TRegisters {
    std::uint32_t eax, ebx, ecx, edx;
};

TRegisters RegistersOf(const TCpuid& command) {
    return {command.Eax()->Value(), command.Ebx()->Value(), command.Ecx()->Value(), command.Edx()->Value()};
}

// Family 15 model 6: the Xeon MP (Tulsa) for which descriptor 0x49 is a level-3 cache.
bool IsXeonMpFamily15Model6(std::uint8_t processor) {
    const std::uint32_t signature = CpuRoot().Processors(processor)->Signature()->Signature()->Value();
    return Bits(signature, 8, 11) == 15 && Bits(signature, 20, 27) == 0 && LookupModel(signature) == 6;
}

} // namespace

TCpuCacheAssociativity::TCpuCacheAssociativity(std::uint8_t index)
    : index_(index < kAssociativityTable.size() ? index : 0), encoding_(kAssociativityTable[index_].code) {}

TCpuCacheAssociativity::TCpuCacheAssociativity(TUnlistedAssociativity unlisted)
    : index_(kNoAssociativityRow), encoding_(unlisted.value) {}

std::string TCpuCacheAssociativity::Text() const {
    if (index_ != kNoAssociativityRow) {
        return WaysText(kAssociativityTable[index_].ways);
    }
    // 255 ways is how the extended leaves say "fully associative" for level 1.
    if (encoding_ == 255) {
        return std::string(texts::kAssociativityFull);
    }
    return FormatText(texts::kAssociativityWays, {std::to_string(encoding_)});
}

CpuRef<ICpuCacheAssociativity> CacheAssociativityOfCode(std::uint32_t code) {
    const std::uint8_t row = AssociativityRow([code](const TAssociativityRow& r) { return r.code == code; });
    if (row == kNoAssociativityRow) {
        return std::make_shared<const TCpuCacheAssociativity>(TUnlistedAssociativity{code});
    }
    return std::make_shared<const TCpuCacheAssociativity>(row);
}

CpuRef<ICpuCacheAssociativity> CacheAssociativityOfWays(std::uint32_t ways) {
    const std::uint8_t row = AssociativityRow([ways](const TAssociativityRow& r) { return r.ways == ways; });
    if (row == kNoAssociativityRow) {
        return std::make_shared<const TCpuCacheAssociativity>(TUnlistedAssociativity{ways});
    }
    return std::make_shared<const TCpuCacheAssociativity>(row);
}

TCpuCacheDescriptors::TCpuCacheDescriptors(std::uint8_t processor, std::uint8_t kind) {
    TRegisters registers{};
    if (CpuRoot().Processors(processor)->Vendor()->Vendor() == TCpuVendor::Intel) {
        // The low byte of the first answer says how often command 2 must run for the full set.
        const auto repeats = static_cast<std::int32_t>(TCpuid(processor, 2).Eax()->Value() & 0xFF);
        registers = RegistersOf(TCpuid(processor, 2, repeats));
    } else {
        const bool level1OrTrace = kind < kCacheLevel2 || kind == kCacheTrace;
        registers = RegistersOf(
            TCpuid(processor, level1OrTrace ? kFirstExtendedCacheCommand : kSecondExtendedCacheCommand));
    }
    const std::uint32_t values[] = {registers.eax, registers.ebx, registers.ecx, registers.edx};
    for (std::size_t r = 0; r < 4; ++r) {
        if ((values[r] & 0x80000000U) != 0) {
            continue;
        }
        for (std::size_t byte = 0; byte < 4; ++byte) {
            entries_[4 * r + byte] = (values[r] >> (8 * byte)) & 0xFF;
        }
    }
}

std::uint32_t TCpuCacheDescriptors::Descriptor(std::uint32_t position) const {
    return position >= 1 && position <= entries_.size() ? entries_[position - 1] : 0;
}

CpuRef<ICpuBoolean> TCpuCacheDescriptors::HasDescriptor(std::uint32_t value) const {
    return CpuBoolean(std::find(entries_.begin(), entries_.end(), value) != entries_.end());
}

CpuRef<ICpuCacheAssociativity> TFoundCache::Associativity() const {
    return size_ != 0 ? associativity_ : std::make_shared<const TCpuCacheAssociativity>(std::uint8_t{0});
}

void TFoundCache::Found(std::uint32_t size, std::uint32_t lineSize,
                        CpuRef<ICpuCacheAssociativity> associativity) {
    size_ = size;
    lineSize_ = lineSize;
    associativity_ = std::move(associativity);
}

TCacheByDescriptor::TCacheByDescriptor(std::uint8_t processor, std::uint8_t kind) {
    const TCpuCacheDescriptors descriptors(processor, kind);
    const TDescriptorRow* chosen = nullptr;
    std::optional<bool> xeonMp; // read only when a row depends on it
    for (const TDescriptorRow& row : kDescriptorTable) {
        if (row.kind != kind || !descriptors.HasDescriptor(row.descriptor)->Value()) {
            continue;
        }
        if (row.condition != TDescriptorCondition::Always) {
            if (!xeonMp) {
                xeonMp = IsXeonMpFamily15Model6(processor);
            }
            if (*xeonMp != (row.condition == TDescriptorCondition::XeonMpF6)) {
                continue;
            }
        }
        chosen = &row;
    }
    if (chosen != nullptr) {
        Found(std::uint32_t{chosen->sizeKb} * 1024, chosen->lineSize, CacheAssociativityOfWays(chosen->ways));
    }
}

namespace {

std::uint32_t ExtendedCacheCommand(std::uint8_t kind) {
    switch (kind) {
    case kCacheCode:
    case kCacheData:
        return kFirstExtendedCacheCommand;
    case kCacheLevel2:
    case kCacheLevel3:
        return kSecondExtendedCacheCommand;
    default:
        return kNoExtendedCacheCommand;
    }
}

// Samuel 2 and Ezra (Via family 6, models 7 and 8) lay out their level-2 register like a level-1
// one: size in KB in bits 24-31, ways in bits 16-23. Every other processor, later Via ones
// included, has the size in bits 16-31 and an associativity code in bits 12-15.
bool ReportsLevel2LikeLevel1(std::uint8_t processor) {
    const auto information = CpuRoot().Processors(processor);
    if (information->Vendor()->Vendor() != TCpuVendor::Via) {
        return false;
    }
    const auto signature = information->Signature();
    const std::uint32_t model = signature->Model()->Value()->Value();
    return signature->Family()->Value()->Value() == 6 && (model == 7 || model == 8);
}

} // namespace

TCacheByExtendedCpuid::TCacheByExtendedCpuid(std::uint8_t processor, std::uint8_t kind) {
    const TRegisters r = RegistersOf(TCpuid(processor, ExtendedCacheCommand(kind)));
    const auto level1 = [this](std::uint32_t value) {
        const std::uint32_t ways = Bits(value, 16, 23);
        Found(Bits(value, 24, 31) * 1024, Bits(value, 0, 7),
              CacheAssociativityOfWays(ways == 0xFF ? kFullyAssociative : ways));
    };
    switch (kind) {
    case kCacheCode:
        level1(r.edx);
        break;
    case kCacheData:
        level1(r.ecx);
        break;
    case kCacheLevel2: {
        if (ReportsLevel2LikeLevel1(processor)) {
            level1(r.ecx);
            break;
        }
        // Athlons and Durons (AMD family 6) have a 16-way level 2 whatever the field says.
        const auto information = CpuRoot().Processors(processor);
        const bool amdFamily6 = information->Vendor()->Vendor() == TCpuVendor::AMD &&
                                information->Signature()->Family()->Value()->Value() == 6;
        Found(Bits(r.ecx, 16, 31) * 1024, Bits(r.ecx, 0, 7),
              CacheAssociativityOfCode(amdFamily6 ? 0x8 : Bits(r.ecx, 12, 15)));
        break;
    }
    case kCacheLevel3:
        // AMD's level 3: size in 512 KB units in bits 18-31, associativity code in 12-15.
        if (CpuRoot().Processors(processor)->Vendor()->Vendor() == TCpuVendor::AMD) {
            Found(Capped(std::uint64_t{Bits(r.edx, 18, 31)} * 512 * 1024), Bits(r.edx, 0, 7),
                  CacheAssociativityOfCode(Bits(r.edx, 12, 15)));
        }
        break;
    default:
        break;
    }
}

namespace {

// The level (EAX bits 5-7) and type (bits 0-4: 1 data, 2 instruction, 3 unified) of a kind;
// type 0 accepts any type of that level.
struct TLevelAndType {
    std::uint32_t level;
    std::uint32_t type;
};

std::optional<TLevelAndType> LevelAndTypeOf(std::uint8_t kind) {
    switch (kind) {
    case kCacheCode:
        return TLevelAndType{1, 2};
    case kCacheData:
        return TLevelAndType{1, 1};
    case kCacheUnified:
        return TLevelAndType{1, 3};
    case kCacheLevel2:
        return TLevelAndType{2, 0};
    case kCacheLevel3:
        return TLevelAndType{3, 0};
    default:
        return std::nullopt;
    }
}

} // namespace

TCacheBySubleaves::TCacheBySubleaves(std::uint8_t processor, std::uint8_t kind, std::uint32_t command) {
    const auto wanted = LevelAndTypeOf(kind);
    if (!wanted) {
        return;
    }
    for (std::uint32_t subleaf = 0; subleaf < kMaxCacheSubleaves; ++subleaf) {
        const TRegisters r = RegistersOf(TCpuid(processor, command, 1, subleaf));
        const std::uint32_t type = Bits(r.eax, 0, 4);
        if (type == 0) {
            return; // no more caches
        }
        if (Bits(r.eax, 5, 7) != wanted->level || (wanted->type != 0 && type != wanted->type)) {
            continue;
        }
        const std::uint64_t ways = Bits(r.ebx, 22, 31) + 1;
        const std::uint64_t partitions = Bits(r.ebx, 12, 21) + 1;
        const std::uint64_t lineSize = Bits(r.ebx, 0, 11) + 1;
        const std::uint64_t sets = std::uint64_t{r.ecx} + 1;
        const bool full = Bits(r.eax, 9, 9) != 0;
        Found(Capped(ways * partitions * lineSize * sets), static_cast<std::uint32_t>(lineSize),
              CacheAssociativityOfWays(full ? kFullyAssociative : static_cast<std::uint32_t>(ways)));
        return;
    }
}

TCacheMethod CacheMethodOf(std::uint8_t processor) {
    const auto vendor = CpuRoot().Processors(processor)->Vendor();
    const TCpuVendor maker = vendor->Vendor();
    // Sub-leaf 0 of a cache-enumeration command describes a cache (type not 0) where it is in use.
    const auto describesACache = [processor](std::uint32_t command) {
        return Bits(TCpuid(processor, command, 1, 0).Eax()->Value(), 0, 4) != 0;
    };
    if (vendor->CacheStyle() == kCacheStyleExtended) {
        const bool topology = maker == TCpuVendor::AMD &&
                              Bits(TCpuid(processor, 0x80000001).Ecx()->Value(), kTopologyExtensionsBit,
                                   kTopologyExtensionsBit) != 0 &&
                              describesACache(kCacheTopologyCommand);
        return topology ? TCacheMethod::Command8000001D : TCacheMethod::ExtendedCpuid;
    }
    if (maker == TCpuVendor::Intel &&
        TCpuCacheDescriptors(processor, kCacheCode).HasDescriptor(kUseCommand4)->Value() &&
        describesACache(kCacheParametersCommand)) {
        return TCacheMethod::Command4;
    }
    return TCacheMethod::Descriptors;
}

CpuRef<ICpuCache> MakeCpuCache(std::uint8_t processor, std::uint8_t kind, TCacheMethod method) {
    switch (method) {
    case TCacheMethod::ExtendedCpuid:
        return std::make_shared<const TCacheByExtendedCpuid>(processor, kind);
    case TCacheMethod::Command4:
        return std::make_shared<const TCacheBySubleaves>(processor, kind, kCacheParametersCommand);
    case TCacheMethod::Command8000001D:
        return std::make_shared<const TCacheBySubleaves>(processor, kind, kCacheTopologyCommand);
    default:
        return std::make_shared<const TCacheByDescriptor>(processor, kind);
    }
}

TProcessorCache::TProcessorCache(std::uint8_t processor)
    : processor_(processor), method_(CacheMethodOf(processor)) {}

CpuRef<ICpuSegmentedCache> TProcessorCache::Level1() const {
    return std::make_shared<const TCpuSegmentedCache>(processor_, method_);
}

} // namespace quelmo
