// The caches of one processor: level 1 (code, data, unified), level 2, level 3 and trace, found
// by cache descriptors or by the extended CPUID leaves, as the vendor's cache style says.
#pragma once

#include "cpuid/CpuValues.h"
#include "cpuid/Cpuid.h"

#include <array>
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

// The associativity table's row of code `value` (0 "None", 1 "Direct", 2 "2-Way", 4 "4-Way",
// 6 "8-Way", 8 "16-Way", 15 "Full"), its index 0 to 6; kNoAssociativityRow when none matches.
inline constexpr std::uint8_t kNoAssociativityRow = 255;
std::uint8_t AssociativityRowOfCode(std::uint32_t value);

// A value that matches no code of the associativity table, as the processor reported it.
struct TUnlistedAssociativity {
    std::uint32_t value;
};

class TCpuCacheAssociativity final : public ICpuCacheAssociativity {
public:
    // Row `index` of the table (0 to 6; any other index reads as row 0, "None").
    explicit TCpuCacheAssociativity(std::uint8_t index);
    // Its own value as the encoding, "N-Way" as the text ("Full" for 255).
    explicit TCpuCacheAssociativity(TUnlistedAssociativity unlisted);
    CpuRef<ICpuNumber> Encoding() const override { return CpuNumber(encoding_); }
    std::string Text() const override;

private:
    std::uint8_t index_;     // kNoAssociativityRow for an unlisted value
    std::uint32_t encoding_; // the row's code, or the unlisted value
};

// The associativity of a reported value: the row whose code equals it, else the value itself.
CpuRef<ICpuCacheAssociativity> CacheAssociativityOfValue(std::uint32_t value);

// The 16 descriptor bytes a processor reports for a cache kind: on Intel processors command 2
// (executed as often as its first answer's low byte says), on others 0x80000005 (level 1 and
// trace) or 0x80000006 (levels 2 and 3) read as descriptor bytes. A register with bit 31 set
// holds no descriptors and leaves its four entries 0.
class TCpuCacheDescriptors final : public ICpuCacheDescriptors {
public:
    TCpuCacheDescriptors(std::uint8_t processor, std::uint8_t kind);
    std::uint32_t Descriptor(std::uint32_t position) const override;
    CpuRef<ICpuBoolean> HasDescriptor(std::uint32_t value) const override;

private:
    std::uint8_t processor_;
    std::uint8_t kind_;
    std::array<std::uint32_t, 16> entries_{};
};

// A cache found in the descriptor table: of the rows of its kind that the processor reports,
// the last one in table order decides.
class TCacheByDescriptor final : public ICpuCache {
public:
    TCacheByDescriptor(std::uint8_t processor, std::uint8_t kind);
    CpuRef<ICpuCacheAssociativity> Associativity() const override;
    CpuRef<ICpuBoolean> Available() const override;
    CpuRef<ICpuNumber> LineSize() const override;
    CpuRef<ICpuNumber> Size() const override;

private:
    // The chosen row of the descriptor table, or -1.
    int ChosenRow() const;

    std::uint8_t processor_;
    std::uint8_t kind_;
    CpuRef<ICpuCacheDescriptors> descriptors_;
};

// A cache read from the size, line and associativity fields of command 0x80000005 (level 1)
// or 0x80000006 (level 2); no other kind is reported this way.
class TCacheByExtendedCpuid final : public ICpuCache {
public:
    TCacheByExtendedCpuid(std::uint8_t processor, std::uint8_t kind);
    CpuRef<ICpuCacheAssociativity> Associativity() const override;
    CpuRef<ICpuBoolean> Available() const override;
    CpuRef<ICpuNumber> LineSize() const override;
    CpuRef<ICpuNumber> Size() const override;

private:
    std::uint32_t SizeInBytes() const;

    std::uint8_t processor_;
    std::uint8_t kind_;
    TCpuid command_;
};

// The cache of `kind` on `processor` by either method.
CpuRef<ICpuCache> MakeCpuCache(std::uint8_t processor, std::uint8_t kind, bool extended);

class TCpuSegmentedCache final : public ICpuSegmentedCache {
public:
    TCpuSegmentedCache(std::uint8_t processor, bool extended) : processor_(processor), extended_(extended) {}
    CpuRef<ICpuCache> Code() const override { return MakeCpuCache(processor_, kCacheCode, extended_); }
    CpuRef<ICpuCache> Data() const override { return MakeCpuCache(processor_, kCacheData, extended_); }
    CpuRef<ICpuCache> Unified() const override { return MakeCpuCache(processor_, kCacheUnified, extended_); }

private:
    std::uint8_t processor_;
    bool extended_;
};

// Chooses the method once, from the vendor's cache style: only "Extended CPUID" (AMD, Via,
// Transmeta) reads the extended fields; every other style reads descriptors.
class TProcessorCache final : public ICpuCacheInformation {
public:
    explicit TProcessorCache(std::uint8_t processor);
    CpuRef<ICpuSegmentedCache> Level1() const override;
    CpuRef<ICpuCache> Level2() const override { return MakeCpuCache(processor_, kCacheLevel2, extended_); }
    CpuRef<ICpuCache> Level3() const override { return MakeCpuCache(processor_, kCacheLevel3, extended_); }
    CpuRef<ICpuCache> Trace() const override { return MakeCpuCache(processor_, kCacheTrace, extended_); }
    std::uint8_t Processor() const { return processor_; }
    bool Extended() const { return extended_; }

private:
    std::uint8_t processor_;
    bool extended_;
};

} // namespace quelmo
