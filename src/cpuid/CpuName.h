// The display name of a processor: its brand string, or for older processors the name that the
// lookup class of its vendor gives.
#pragma once

#include "cpuid/CpuValues.h"
#include "cpuid/CpuVendor.h"

#include <cstdint>
#include <string>

namespace quelmo {

// One way of naming a processor (the brand-string reader and each vendor's lookup class).
class ICpuName {
public:
    virtual ~ICpuName() = default;
    virtual std::string Name() const = 0;
};

class ICpuProcessorName {
public:
    virtual ~ICpuProcessorName() = default;
    virtual std::string Name() const = 0;
    // Whether the name comes from a vendor's lookup class rather than the brand string.
    virtual CpuRef<ICpuBoolean> FromLookup() const = 0;
};

// What the vendors' lookup tables decide by, read from one processor.
struct TNameFacts {
    std::uint32_t family = 0;
    std::uint32_t model = 0; // LookupModel: the extended model added to base model 15 only
    std::uint32_t type = 0;
    std::uint32_t brandIndex = 0;
    std::uint32_t signature = 0;  // command 1's EAX
    std::uint32_t level2Size = 0; // bytes; read for Intel family 6 only
    bool serialFeature = false;   // standard feature 18; read for Intel family 6 model 6 only
};

// The names of the tables; empty where a table has no row for the processor.
std::string IntelNameByBrandIndex(const TNameFacts& facts);
std::string IntelNameByModel(const TNameFacts& facts);
// The rows that name a processor by family and model alone (Intel families 4, 5 and 6 models 0
// and 1; every row of the other vendors).
std::string ModelTableName(TCpuVendor vendor, std::uint32_t family, std::uint32_t model);

// The vendor's short name and the signature: "Intel x86 Family 6 Model 8 Stepping 3".
std::string GenericProcessorName(TCpuVendor vendor, std::uint8_t processor);

// The brand string: commands 0x80000002 to 0x80000004 (48 characters), or for a Transmeta
// processor 0x80860003 to 0x80860006 (64 characters), as reported, NUL bytes included.
class TProcessorNameDetect final : public ICpuName {
public:
    TProcessorNameDetect(std::uint8_t processor, bool transmeta)
        : processor_(processor), transmeta_(transmeta) {}
    std::string Name() const override;

private:
    std::uint8_t processor_;
    bool transmeta_;
};

// The lookup classes: each names the processor from its vendor's table, or with the generic text.
template <TCpuVendor Vendor>
class TVendorProcessorLookup final : public ICpuName {
public:
    explicit TVendorProcessorLookup(std::uint8_t processor) : processor_(processor) {}
    std::string Name() const override;

private:
    std::uint8_t processor_;
};

using TUnknownProcessorLookup = TVendorProcessorLookup<TCpuVendor::Unknown>;
using TIntelProcessorLookup = TVendorProcessorLookup<TCpuVendor::Intel>;
using TAmdProcessorLookup = TVendorProcessorLookup<TCpuVendor::AMD>;
using TCyrixProcessorLookup = TVendorProcessorLookup<TCpuVendor::Cyrix>;
using TIdtProcessorLookup = TVendorProcessorLookup<TCpuVendor::Via>;
using TNexGenProcessorLookup = TVendorProcessorLookup<TCpuVendor::NexGen>;
using TUmcProcessorLookup = TVendorProcessorLookup<TCpuVendor::UMC>;
using TRiseProcessorLookup = TVendorProcessorLookup<TCpuVendor::Rise>;
using TTransmetaProcessorLookup = TVendorProcessorLookup<TCpuVendor::Transmeta>;

// The lookup class of `vendor` for `processor`.
CpuRef<ICpuName> MakeProcessorLookup(TCpuVendor vendor, std::uint8_t processor);

// The display name: the brand string trimmed of every character of code 32 or less at both
// ends, or when the processor has none (extended maximum below 0x80000004; for Transmeta,
// Transmeta maximum below 0x80860006) the name from its vendor's lookup class.
class TProcessorName final : public ICpuProcessorName {
public:
    explicit TProcessorName(std::uint8_t processor);
    std::string Name() const override;
    CpuRef<ICpuBoolean> FromLookup() const override { return CpuBoolean(fromLookup_); }

private:
    std::uint8_t processor_;
    bool fromLookup_ = false;
    bool transmeta_ = false;
};

} // namespace quelmo
