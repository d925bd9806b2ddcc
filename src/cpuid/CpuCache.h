// The caches of one processor: level 1 (code, data, unified), level 2, level 3 and trace. The
// processor's vendor and what it reports choose the method: cache descriptors (command 2 on
// Intel, the extended commands read as descriptor bytes on the other vendors of the standard and
// combined styles), the size fields of 0x80000005/0x80000006 (AMD, Via, Transmeta), or the
// sub-leaves of a cache-enumeration command (Intel's command 4 when command 2 reports 0xFF, AMD's
// 0x8000001D where the processor has it).
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
    // The associativity code of 0x80000006 for the text (0, 1, 2, 4, 6, 8, 0xA to 0xF); for an
    // associativity the codes do not cover, the value as reported.
    virtual CpuRef<ICpuNumber> Encoding() const = 0;
    // "None", "Direct", "2-Way", ... "128-Way", "Full".
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

// A way count that stands for a fully associative cache.
inline constexpr std::uint32_t kFullyAssociative = 0xFFFFFFFF;

// A value that matches no row of the associativity table, as the processor reported it.
struct TUnlistedAssociativity {
    std::uint32_t value;
};

// A row of the associativity table: 0 "None", 1 "Direct", 2 "2-Way", 3 "4-Way", 4 "8-Way",
// 5 "16-Way", 6 "Full", 7 "32-Way", 8 "48-Way", 9 "64-Way", 10 "96-Way", 11 "128-Way".
class TCpuCacheAssociativity final : public ICpuCacheAssociativity {
public:
    // Row `index` of the table (any other index reads as row 0, "None").
    explicit TCpuCacheAssociativity(std::uint8_t index);
    // Its own value as the encoding, "N-Way" as the text ("Full" for 255).
    explicit TCpuCacheAssociativity(TUnlistedAssociativity unlisted);
    CpuRef<ICpuNumber> Encoding() const override { return CpuNumber(encoding_); }
    std::string Text() const override;

private:
    std::uint8_t index_;     // kNoAssociativityRow for an unlisted value
    std::uint32_t encoding_; // the row's code, or the unlisted value
};

inline constexpr std::uint8_t kNoAssociativityRow = 255;

// The associativity of a code of the 0x80000006 fields: 0 none, 1 direct, 2, 4, 6 (8 ways),
// 8 (16), 0xA (32), 0xB (48), 0xC (64), 0xD (96), 0xE (128), 0xF full. A reserved code (3, 5,
// 7, 9) reads "N-Way" with N the code itself.
CpuRef<ICpuCacheAssociativity> CacheAssociativityOfCode(std::uint32_t code);
// The associativity of a number of ways (0 none, 1 direct, kFullyAssociative full): the table's
// row for that many ways, else "N-Way" with the count as its encoding (12 ways: "12-Way").
CpuRef<ICpuCacheAssociativity> CacheAssociativityOfWays(std::uint32_t ways);

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
    std::array<std::uint32_t, 16> entries_{};
};

// The four answers of a cache, found when the cache object is made: a size of 0 means no cache,
// whose line size is 0 and associativity "None".
class TFoundCache : public ICpuCache {
public:
    CpuRef<ICpuCacheAssociativity> Associativity() const override;
    CpuRef<ICpuBoolean> Available() const override { return CpuBoolean(size_ != 0); }
    CpuRef<ICpuNumber> LineSize() const override { return CpuNumber(size_ != 0 ? lineSize_ : 0); }
    CpuRef<ICpuNumber> Size() const override { return CpuNumber(size_); }

protected:
    void Found(std::uint32_t size, std::uint32_t lineSize, CpuRef<ICpuCacheAssociativity> associativity);

private:
    std::uint32_t size_ = 0;
    std::uint32_t lineSize_ = 0;
    CpuRef<ICpuCacheAssociativity> associativity_;
};

// A cache found in the descriptor table: of the rows of its kind that the processor reports,
// the last one in table order decides (so 0x40, "no level 2" or "no level 3", overrides the
// older rows above it). Descriptor 0x49 is a level 3 on family 15 model 6, else a level 2.
class TCacheByDescriptor final : public TFoundCache {
public:
    TCacheByDescriptor(std::uint8_t processor, std::uint8_t kind);
};

// A cache read from the fields of 0x80000005 (level 1) or 0x80000006 (level 2; level 3 on AMD
// processors); no other kind is reported this way.
class TCacheByExtendedCpuid final : public TFoundCache {
public:
    TCacheByExtendedCpuid(std::uint8_t processor, std::uint8_t kind);
};

// A cache read from the sub-leaves of command 4 or 0x8000001D (the same layout): the first one
// of the kind's level and type. Size = ways x partitions x line size x sets. No trace cache.
class TCacheBySubleaves final : public TFoundCache {
public:
    TCacheBySubleaves(std::uint8_t processor, std::uint8_t kind, std::uint32_t command);
};

enum class TCacheMethod : std::uint8_t {
    Descriptors,   // command 2 on Intel, the extended commands as descriptor bytes elsewhere
    ExtendedCpuid, // the fields of 0x80000005 and 0x80000006
    Command4,      // Intel's deterministic cache parameters
    Command8000001D,
};

// The method for `processor`: "Extended CPUID" vendors (AMD, Via, Transmeta) read the extended
// fields, or on AMD 0x8000001D where the processor reports it (topology extensions, 0x80000001
// ECX bit 22). Every other style reads descriptors, or on Intel command 4 when command 2
// reports 0xFF and command 4 describes a cache.
TCacheMethod CacheMethodOf(std::uint8_t processor);

// The cache of `kind` on `processor` by `method`.
CpuRef<ICpuCache> MakeCpuCache(std::uint8_t processor, std::uint8_t kind, TCacheMethod method);

class TCpuSegmentedCache final : public ICpuSegmentedCache {
public:
    TCpuSegmentedCache(std::uint8_t processor, TCacheMethod method)
        : processor_(processor), method_(method) {}
    CpuRef<ICpuCache> Code() const override { return MakeCpuCache(processor_, kCacheCode, method_); }
    CpuRef<ICpuCache> Data() const override { return MakeCpuCache(processor_, kCacheData, method_); }
    CpuRef<ICpuCache> Unified() const override { return MakeCpuCache(processor_, kCacheUnified, method_); }

private:
    std::uint8_t processor_;
    TCacheMethod method_;
};

// Chooses the method once, when constructed (CacheMethodOf).
class TProcessorCache final : public ICpuCacheInformation {
public:
    explicit TProcessorCache(std::uint8_t processor);
    CpuRef<ICpuSegmentedCache> Level1() const override;
    CpuRef<ICpuCache> Level2() const override { return MakeCpuCache(processor_, kCacheLevel2, method_); }
    CpuRef<ICpuCache> Level3() const override { return MakeCpuCache(processor_, kCacheLevel3, method_); }
    CpuRef<ICpuCache> Trace() const override { return MakeCpuCache(processor_, kCacheTrace, method_); }
    std::uint8_t Processor() const { return processor_; }
    TCacheMethod Method() const { return method_; }

private:
    std::uint8_t processor_;
    TCacheMethod method_;
};

} // namespace quelmo
