// The display name of a processor: its brand string, or for older processors the name that the
// lookup class of its vendor gives.
#pragma once

#include "cpuid/CpuValues.h"

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

// Placeholder until the name lookups land: the vendor's generic text
// ("Intel x86 Family 6 Model 8 Stepping 3").
class TProcessorName final : public ICpuProcessorName {
public:
    explicit TProcessorName(std::uint8_t processor) : processor_(processor) {}
    std::string Name() const override;
    CpuRef<ICpuBoolean> FromLookup() const override { return CpuBoolean(true); }

private:
    std::uint8_t processor_;
};

} // namespace quelmo
