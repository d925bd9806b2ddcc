// The caches of one processor: level 1 (code, data, unified), level 2, level 3 and trace, found
// by cache descriptors or by the extended CPUID leaves, as the vendor's cache style says.
#pragma once

#include "cpuid/CpuValues.h"

#include <cstdint>
#include <string>

namespace quelmo {

// Cache kinds.
inline constexpr std::uint8_t kCacheCode = 0;
inline constexpr std::uint8_t kCacheData = 1;
inline constexpr std::uint8_t kCacheUnified = 2;
inline constexpr std::uint8_t kCacheLevel2 = 3;
inline constexpr std::uint8_t kCacheLevel3 = 4;
inline constexpr std::uint8_t kCacheTrace = 5;

class ICpuCacheAssociativity {
public:
    virtual ~ICpuCacheAssociativity() = default;
    // The associativity code (0, 1, 2, 4, 6, 8, 15; the raw value for one outside the table).
    virtual CpuRef<ICpuNumber> Encoding() const = 0;
    // "None", "Direct", "2-Way", ... "Full".
    virtual std::string Text() const = 0;
};

class ICpuCache {
public:
    virtual ~ICpuCache() = default;
    virtual CpuRef<ICpuCacheAssociativity> Associativity() const = 0;
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    virtual CpuRef<ICpuNumber> LineSize() const = 0; // bytes
    virtual CpuRef<ICpuNumber> Size() const = 0;     // bytes
};

class ICpuSegmentedCache {
public:
    virtual ~ICpuSegmentedCache() = default;
    virtual CpuRef<ICpuCache> Code() const = 0;
    virtual CpuRef<ICpuCache> Data() const = 0;
    virtual CpuRef<ICpuCache> Unified() const = 0;
};

class ICpuCacheInformation {
public:
    virtual ~ICpuCacheInformation() = default;
    virtual CpuRef<ICpuSegmentedCache> Level1() const = 0;
    virtual CpuRef<ICpuCache> Level2() const = 0;
    virtual CpuRef<ICpuCache> Level3() const = 0;
    virtual CpuRef<ICpuCache> Trace() const = 0;
};

class ICpuCacheDescriptors {
public:
    virtual ~ICpuCacheDescriptors() = default;
    // The entry at `position`, 1 to 16 (0 when empty).
    virtual std::uint32_t Descriptor(std::uint32_t position) const = 0;
    // Whether any of the 16 entries equals `value`.
    virtual CpuRef<ICpuBoolean> HasDescriptor(std::uint32_t value) const = 0;
};

// Placeholder until cache detection lands: no cache is available.
class TProcessorCache final : public ICpuCacheInformation {
public:
    explicit TProcessorCache(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuSegmentedCache> Level1() const override;
    CpuRef<ICpuCache> Level2() const override;
    CpuRef<ICpuCache> Level3() const override;
    CpuRef<ICpuCache> Trace() const override;
    std::uint8_t Processor() const { return processor_; }

private:
    std::uint8_t processor_;
};

} // namespace quelmo
