// Named features of the four feature sets: a fixed 48-row table laid out into 32 bit slots per
// set and vendor style, features that read their bit afresh, and the search by mnemonic.
#pragma once

#include "cpuid/CpuValues.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quelmo {

// Feature-set kinds; any other kind is a set that is never available and holds no rows.
inline constexpr std::uint8_t kSetStandard = 1;           // command 1 EDX
inline constexpr std::uint8_t kSetStandardExtensions = 2; // command 1 ECX
inline constexpr std::uint8_t kSetExtended = 3;           // command 0x80000001 EDX
inline constexpr std::uint8_t kSetPowerManagement = 4;    // command 0x80000007 EDX

inline constexpr std::uint8_t kNoSlot = 255;

// One row of the feature table.
struct TFeatureDetail {
    std::uint8_t bit;
    std::string_view mnemonic;
    std::string_view description;
    std::uint8_t vendor; // a feature style: 0 common, 1 Intel, 2 AMD, 3 Cyrix
    std::uint8_t sets;   // bit k stands for set kind k
};

// The 48 rows, in the order that the layout and the search by mnemonic depend on.
std::span<const TFeatureDetail> FeatureTable();

// The slots of one set kind on one processor: common rows first, then the rows of the
// processor's feature style, each replacing what an earlier row put at its bit.
class TFeatureSetDefinition {
public:
    TFeatureSetDefinition(std::uint8_t processor, std::uint8_t kind);
    // The feature-table row in `slot`, kNoSlot for an empty slot or a slot of 32 and above.
    std::uint8_t RowOf(std::uint32_t slot) const { return slot < 32 ? slots_[slot] : kNoSlot; }
    // The slot of `mnemonic` (compared in upper case), after the vendor rules for "MMX+", "PGE"
    // and "SEP"; kNoSlot for none. An empty mnemonic finds the first empty slot.
    std::uint8_t IndexOf(std::string_view mnemonic) const;
    CpuRef<ICpuNumber> Count() const { return CpuNumber(count_); }

private:
    std::uint8_t processor_;
    std::array<std::uint8_t, 32> slots_{}; // feature-table rows, kNoSlot when empty
    std::uint32_t count_ = 0;
};

class ICpuFeature {
public:
    virtual ~ICpuFeature() = default;
    virtual std::uint8_t Bit() const = 0; // 255 for the unknown feature
    virtual std::string Mnemonic() const = 0;
    virtual std::string Description() const = 0;
    // The bit as the processor reports it now.
    virtual CpuRef<ICpuBoolean> Available() const = 0;
};

class TCpuFeature final : public ICpuFeature {
public:
    TCpuFeature(std::uint8_t processor, std::uint8_t row, std::uint8_t kind)
        : processor_(processor), row_(row), kind_(kind) {}
    std::uint8_t Bit() const override;
    std::string Mnemonic() const override;
    std::string Description() const override;
    CpuRef<ICpuBoolean> Available() const override;

private:
    std::uint8_t processor_;
    std::uint8_t row_;
    std::uint8_t kind_;
};

// An empty slot: "RES", "Reserved or unused", bit 255, never available.
class TUnknownFeature final : public ICpuFeature {
public:
    std::uint8_t Bit() const override { return kNoSlot; }
    std::string Mnemonic() const override;
    std::string Description() const override;
    CpuRef<ICpuBoolean> Available() const override { return CpuBoolean(false); }
};

class ICpuFeatureSet {
public:
    virtual ~ICpuFeatureSet() = default;
    // Whether the set's command is available on the processor.
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    // Filled slots when available, else 0.
    virtual CpuRef<ICpuNumber> Count() const = 0;
    // The feature in slot `bit`; the unknown feature for an empty slot or bit 32 and above.
    virtual CpuRef<ICpuFeature> Features(std::uint32_t bit) const = 0;
    virtual CpuRef<ICpuFeature> FeatureByName(std::string_view mnemonic) const = 0;
};

class TCpuFeatureSet final : public ICpuFeatureSet {
public:
    TCpuFeatureSet(std::uint8_t processor, std::uint8_t kind);
    CpuRef<ICpuBoolean> Available() const override;
    CpuRef<ICpuNumber> Count() const override;
    CpuRef<ICpuFeature> Features(std::uint32_t bit) const override;
    CpuRef<ICpuFeature> FeatureByName(std::string_view mnemonic) const override;

private:
    std::uint8_t processor_;
    std::uint8_t kind_;
    TFeatureSetDefinition definition_;
};

class ICpuFeatures {
public:
    virtual ~ICpuFeatures() = default;
    virtual CpuRef<ICpuFeatureSet> Standard() const = 0;
    virtual CpuRef<ICpuFeatureSet> StandardExtensions() const = 0;
    virtual CpuRef<ICpuFeatureSet> Extended() const = 0;
    virtual CpuRef<ICpuFeatureSet> PowerManagement() const = 0;
    // Looks in the lowest set kind of the first table row with that mnemonic (any vendor).
    virtual CpuRef<ICpuFeature> FeatureByName(std::string_view mnemonic) const = 0;
};

class TProcessorFeatures final : public ICpuFeatures {
public:
    explicit TProcessorFeatures(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuFeatureSet> Standard() const override { return Set(kSetStandard); }
    CpuRef<ICpuFeatureSet> StandardExtensions() const override { return Set(kSetStandardExtensions); }
    CpuRef<ICpuFeatureSet> Extended() const override { return Set(kSetExtended); }
    CpuRef<ICpuFeatureSet> PowerManagement() const override { return Set(kSetPowerManagement); }
    CpuRef<ICpuFeature> FeatureByName(std::string_view mnemonic) const override;

private:
    CpuRef<ICpuFeatureSet> Set(std::uint8_t kind) const;

    std::uint8_t processor_;
};

// The set kind ICpuFeatures::FeatureByName looks in (0 when no row has the mnemonic).
std::uint8_t SetKindOfMnemonic(std::string_view mnemonic);

} // namespace quelmo
