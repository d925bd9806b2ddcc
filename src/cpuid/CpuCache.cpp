#include "cpuid/CpuCache.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"

#include <string_view>

namespace quelmo {
namespace {

struct TAssociativityRow {
    std::uint32_t code; // as the associativity field of command 0x80000006 encodes it
    std::string_view text;
};

constexpr std::array<TAssociativityRow, 7> kAssociativityTable = {{
    {0, texts::kAssociativityNone},
    {1, texts::kAssociativityDirect},
    {2, texts::kAssociativity2Way},
    {4, texts::kAssociativity4Way},
    {6, texts::kAssociativity8Way},
    {8, texts::kAssociativity16Way},
    {15, texts::kAssociativityFull},
}};

constexpr std::uint8_t kNone = 0;
constexpr std::uint8_t k2Way = 2;
constexpr std::uint8_t k4Way = 3;
constexpr std::uint8_t k8Way = 4;
constexpr std::uint8_t k16WayCode = 8;

struct TDescriptorRow {
    std::uint8_t descriptor;
    std::uint8_t kind;
    std::uint8_t associativity; // a row of kAssociativityTable
    std::uint16_t sizeKb;
    std::uint8_t lineSize;
};

// Walked in this order; the last reported row of a kind wins, so 0x40 ("no level 2 / level 3
// cache") overrides the rows above it. No row describes a unified level-1 cache.
constexpr std::array<TDescriptorRow, 36> kDescriptorTable = {{
    {0x06, kCacheCode, k4Way, 8, 32},      {0x08, kCacheCode, k4Way, 16, 32},
    {0x30, kCacheCode, k8Way, 32, 64},     {0x0A, kCacheData, k2Way, 8, 32},
    {0x0C, kCacheData, k4Way, 16, 32},     {0x2C, kCacheData, k8Way, 32, 64},
    {0x66, kCacheData, k4Way, 8, 64},      {0x67, kCacheData, k4Way, 16, 64},
    {0x68, kCacheData, k4Way, 32, 64},     {0x39, kCacheLevel2, k4Way, 128, 64},
    {0x3B, kCacheLevel2, k2Way, 128, 64},  {0x3C, kCacheLevel2, k4Way, 256, 64},
    {0x40, kCacheLevel2, kNone, 0, 0},     {0x41, kCacheLevel2, k4Way, 128, 32},
    {0x42, kCacheLevel2, k4Way, 256, 32},  {0x43, kCacheLevel2, k4Way, 512, 32},
    {0x44, kCacheLevel2, k4Way, 1024, 32}, {0x45, kCacheLevel2, k4Way, 2048, 32},
    {0x79, kCacheLevel2, k8Way, 128, 64},  {0x7A, kCacheLevel2, k8Way, 256, 64},
    {0x7B, kCacheLevel2, k8Way, 512, 64},  {0x7C, kCacheLevel2, k8Way, 1024, 64},
    {0x82, kCacheLevel2, k8Way, 256, 32},  {0x83, kCacheLevel2, k8Way, 512, 32},
    {0x84, kCacheLevel2, k8Way, 1024, 32}, {0x85, kCacheLevel2, k8Way, 2048, 32},
    {0x86, kCacheLevel2, k4Way, 512, 64},  {0x87, kCacheLevel2, k8Way, 1024, 64},
    {0x22, kCacheLevel3, k4Way, 512, 64},  {0x23, kCacheLevel3, k8Way, 1024, 64},
    {0x25, kCacheLevel3, k8Way, 2048, 64}, {0x29, kCacheLevel3, k8Way, 4096, 64},
    {0x40, kCacheLevel3, kNone, 0, 0},     {0x70, kCacheTrace, k8Way, 12, 0},
    {0x71, kCacheTrace, k8Way, 16, 0},     {0x72, kCacheTrace, k8Way, 32, 0},
}};

constexpr std::uint32_t kFirstExtendedCacheCommand = 0x80000005;  // level 1
constexpr std::uint32_t kSecondExtendedCacheCommand = 0x80000006; // level 2
// Stands for "no command" for the kinds the extended leaves do not report. It is judged against
// the standard range, whose maximum never reaches it, and its registers are never read.
constexpr std::uint32_t kNoExtendedCacheCommand = 0x80000099;

constexpr std::uint32_t Bits(std::uint32_t value, unsigned low, unsigned high) {
    return static_cast<std::uint32_t>((value >> low) & ((std::uint64_t{1} << (high - low + 1)) - 1));
}

} // namespace

std::uint8_t AssociativityRowOfCode(std::uint32_t value) {
    for (std::size_t row = 0; row < kAssociativityTable.size(); ++row) {
        if (kAssociativityTable[row].code == value) {
            return static_cast<std::uint8_t>(row);
        }
    }
    return kNoAssociativityRow;
}

TCpuCacheAssociativity::TCpuCacheAssociativity(std::uint8_t index)
    : index_(index < kAssociativityTable.size() ? index : 0), encoding_(kAssociativityTable[index_].code) {}

TCpuCacheAssociativity::TCpuCacheAssociativity(TUnlistedAssociativity unlisted)
    : index_(kNoAssociativityRow), encoding_(unlisted.value) {}

std::string TCpuCacheAssociativity::Text() const {
    if (index_ != kNoAssociativityRow) {
        return std::string(kAssociativityTable[index_].text);
    }
    // 255 ways is how the extended leaves say "fully associative" for level 1.
    if (encoding_ == 255) {
        return std::string(texts::kAssociativityFull);
    }
    return FormatText(texts::kAssociativityWays, {std::to_string(encoding_)});
}

CpuRef<ICpuCacheAssociativity> CacheAssociativityOfValue(std::uint32_t value) {
    const std::uint8_t row = AssociativityRowOfCode(value);
    if (row == kNoAssociativityRow) {
        return std::make_shared<const TCpuCacheAssociativity>(TUnlistedAssociativity{value});
    }
    return std::make_shared<const TCpuCacheAssociativity>(row);
}

TCpuCacheDescriptors::TCpuCacheDescriptors(std::uint8_t processor, std::uint8_t kind)
    : processor_(processor), kind_(kind) {
    std::uint32_t registers[4] = {};
    const auto keep = [&registers](const TCpuid& command) {
        registers[0] = command.Eax()->Value();
        registers[1] = command.Ebx()->Value();
        registers[2] = command.Ecx()->Value();
        registers[3] = command.Edx()->Value();
    };
    if (CpuRoot().Processors(processor)->Vendor()->Vendor() == TCpuVendor::Intel) {
        // The low byte of the first answer says how often command 2 must run for the full set.
        const auto repeats = static_cast<std::int32_t>(TCpuid(processor, 2).Eax()->Value() & 0xFF);
        keep(TCpuid(processor, 2, repeats));
    } else {
        const bool level1OrTrace = kind < kCacheLevel2 || kind == kCacheTrace;
        keep(TCpuid(processor, level1OrTrace ? kFirstExtendedCacheCommand : kSecondExtendedCacheCommand));
    }
    for (std::size_t r = 0; r < 4; ++r) {
        if ((registers[r] & 0x80000000U) != 0) {
            continue;
        }
        for (std::size_t byte = 0; byte < 4; ++byte) {
            entries_[4 * r + byte] = (registers[r] >> (8 * byte)) & 0xFF;
        }
    }
}

std::uint32_t TCpuCacheDescriptors::Descriptor(std::uint32_t position) const {
    return position >= 1 && position <= entries_.size() ? entries_[position - 1] : 0;
}

CpuRef<ICpuBoolean> TCpuCacheDescriptors::HasDescriptor(std::uint32_t value) const {
    for (const std::uint32_t entry : entries_) {
        if (entry == value) {
            return CpuBoolean(true);
        }
    }
    return CpuBoolean(false);
}

TCacheByDescriptor::TCacheByDescriptor(std::uint8_t processor, std::uint8_t kind)
    : processor_(processor), kind_(kind),
      descriptors_(std::make_shared<const TCpuCacheDescriptors>(processor, kind)) {}

int TCacheByDescriptor::ChosenRow() const {
    int chosen = -1;
    for (std::size_t row = 0; row < kDescriptorTable.size(); ++row) {
        if (kDescriptorTable[row].kind == kind_ &&
            descriptors_->HasDescriptor(kDescriptorTable[row].descriptor)->Value()) {
            chosen = static_cast<int>(row);
        }
    }
    return chosen;
}

CpuRef<ICpuNumber> TCacheByDescriptor::Size() const {
    const int row = ChosenRow();
    return CpuNumber(row < 0 ? 0 : std::uint32_t{kDescriptorTable[row].sizeKb} * 1024);
}

CpuRef<ICpuBoolean> TCacheByDescriptor::Available() const {
    return CpuBoolean(Size()->Value() != 0);
}

CpuRef<ICpuNumber> TCacheByDescriptor::LineSize() const {
    const int row = ChosenRow();
    const bool available = row >= 0 && kDescriptorTable[row].sizeKb != 0;
    return CpuNumber(available ? kDescriptorTable[row].lineSize : 0);
}

CpuRef<ICpuCacheAssociativity> TCacheByDescriptor::Associativity() const {
    const int row = ChosenRow();
    const bool available = row >= 0 && kDescriptorTable[row].sizeKb != 0;
    return std::make_shared<const TCpuCacheAssociativity>(available ? kDescriptorTable[row].associativity
                                                                    : kNone);
}

namespace {

std::uint32_t ExtendedCacheCommand(std::uint8_t kind) {
    switch (kind) {
    case kCacheCode:
    case kCacheData:
        return kFirstExtendedCacheCommand;
    case kCacheLevel2:
        return kSecondExtendedCacheCommand;
    default:
        return kNoExtendedCacheCommand;
    }
}

// Samuel 2 and Ezra (Via family 6, models 7 and 8) report their level-2 size in ECX bits 24-31;
// every other processor, later Via ones included, in bits 16-31.
bool ReportsLevel2InHighByte(std::uint8_t processor) {
    const auto information = CpuRoot().Processors(processor);
    if (information->Vendor()->Vendor() != TCpuVendor::Via) {
        return false;
    }
    const auto signature = information->Signature();
    const std::uint32_t model = signature->Model()->Value()->Value();
    return signature->Family()->Value()->Value() == 6 && (model == 7 || model == 8);
}

} // namespace

TCacheByExtendedCpuid::TCacheByExtendedCpuid(std::uint8_t processor, std::uint8_t kind)
    : processor_(processor), kind_(kind), command_(processor, ExtendedCacheCommand(kind)) {}

std::uint32_t TCacheByExtendedCpuid::SizeInBytes() const {
    switch (kind_) {
    case kCacheCode:
        return Bits(command_.Edx()->Value(), 24, 31) * 1024;
    case kCacheData:
        return Bits(command_.Ecx()->Value(), 24, 31) * 1024;
    case kCacheLevel2: {
        const std::uint32_t ecx = command_.Ecx()->Value();
        return (ReportsLevel2InHighByte(processor_) ? Bits(ecx, 24, 31) : Bits(ecx, 16, 31)) * 1024;
    }
    default:
        return 0;
    }
}

CpuRef<ICpuNumber> TCacheByExtendedCpuid::Size() const {
    return CpuNumber(SizeInBytes());
}

CpuRef<ICpuBoolean> TCacheByExtendedCpuid::Available() const {
    return CpuBoolean(SizeInBytes() != 0);
}

CpuRef<ICpuNumber> TCacheByExtendedCpuid::LineSize() const {
    if (SizeInBytes() == 0) {
        return CpuNumber(0);
    }
    const std::uint32_t lines = kind_ == kCacheCode ? command_.Edx()->Value() : command_.Ecx()->Value();
    return CpuNumber(Bits(lines, 0, 7));
}

CpuRef<ICpuCacheAssociativity> TCacheByExtendedCpuid::Associativity() const {
    if (SizeInBytes() == 0) {
        return std::make_shared<const TCpuCacheAssociativity>(kNone);
    }
    switch (kind_) {
    case kCacheCode:
        // Level 1 reports a number of ways, looked up among the codes: 8 ways reads "16-Way".
        return CacheAssociativityOfValue(Bits(command_.Edx()->Value(), 16, 23));
    case kCacheData:
        return CacheAssociativityOfValue(Bits(command_.Ecx()->Value(), 16, 23));
    default: {
        // Level 2, the only other kind with a size. AMD family 6 (Athlon, Duron) is 16-way.
        const auto information = CpuRoot().Processors(processor_);
        const bool amdFamily6 = information->Vendor()->Vendor() == TCpuVendor::AMD &&
                                information->Signature()->Family()->Value()->Value() == 6;
        return CacheAssociativityOfValue(amdFamily6 ? k16WayCode : Bits(command_.Ecx()->Value(), 12, 15));
    }
    }
}

CpuRef<ICpuCache> MakeCpuCache(std::uint8_t processor, std::uint8_t kind, bool extended) {
    if (extended) {
        return std::make_shared<const TCacheByExtendedCpuid>(processor, kind);
    }
    return std::make_shared<const TCacheByDescriptor>(processor, kind);
}

TProcessorCache::TProcessorCache(std::uint8_t processor)
    : processor_(processor),
      extended_(CpuRoot().Processors(processor)->Vendor()->CacheStyle() == kCacheStyleExtended) {}

CpuRef<ICpuSegmentedCache> TProcessorCache::Level1() const {
    return std::make_shared<const TCpuSegmentedCache>(processor_, extended_);
}

} // namespace quelmo
