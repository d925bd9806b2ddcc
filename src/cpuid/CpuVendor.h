// Who made a processor (the vendor table and ICpuVendor) and which processor it is in the
// maker's numbering (the signature of CPUID command 1, ICpuSignature).
#pragma once

#include "cpuid/Cpuid.h"
#include "cpuid/CpuValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quelmo {

// Doubles as the row number of the vendor table and selects the name lookup.
enum class TCpuVendor : std::uint8_t {
    Unknown = 1,
    Intel = 2,
    AMD = 3,
    Cyrix = 4,
    Via = 5,
    NexGen = 6,
    UMC = 7,
    Rise = 8,
    Transmeta = 9,
};

// Feature styles steer the feature layout; cache styles choose the cache detection method.
inline constexpr std::uint8_t kFeatureStyleCommon = 0;
inline constexpr std::uint8_t kFeatureStyleIntel = 1;
inline constexpr std::uint8_t kFeatureStyleAmd = 2;
inline constexpr std::uint8_t kFeatureStyleCyrix = 3;
inline constexpr std::uint8_t kCacheStyleStandard = 0;
inline constexpr std::uint8_t kCacheStyleExtended = 1;
inline constexpr std::uint8_t kCacheStyleCombined = 2;

struct TCpuVendorInfo {
    std::string_view vendorId;  // as CPUID command 0 reports it (EBX, EDX, ECX)
    std::string_view shortName; // ends in a blank
    std::string_view fullName;
    std::uint8_t featureStyle;
    std::uint8_t cacheStyle;
};

// The vendor table's row of `vendor` (row 1, Unknown, for values outside 1..9).
const TCpuVendorInfo& VendorInfo(TCpuVendor vendor);
// The vendor whose identification equals `vendorId` exactly; Unknown when none does.
TCpuVendor VendorOfId(std::string_view vendorId);

class ICpuVendor {
public:
    virtual ~ICpuVendor() = default;
    virtual std::string VendorId() const = 0;
    virtual std::string Name() const = 0;
    virtual std::uint8_t FeatureStyle() const = 0;
    virtual std::uint8_t CacheStyle() const = 0;
    virtual TCpuVendor Vendor() const = 0;
};

// Reads command 0 of the processor when constructed.
class TProcessorVendor final : public ICpuVendor {
public:
    explicit TProcessorVendor(std::uint8_t processor);
    std::string VendorId() const override;
    std::string Name() const override;
    std::uint8_t FeatureStyle() const override;
    std::uint8_t CacheStyle() const override;
    TCpuVendor Vendor() const override { return vendor_; }

private:
    TCpuVendor vendor_;
};

// Field kinds of a signature.
inline constexpr std::uint8_t kFieldType = 0;
inline constexpr std::uint8_t kFieldFamily = 1;
inline constexpr std::uint8_t kFieldModel = 2;
inline constexpr std::uint8_t kFieldStepping = 3;
inline constexpr std::uint8_t kFieldBrandId = 4;

// Whether a vendor combines the extended model (signature bits 16-19) with the base model (bits
// 4-7): Intel for base families 6 and 15, AMD and every other vendor for base family 15.
constexpr bool CombinesExtendedModel(TCpuVendor vendor, std::uint32_t signature) {
    const std::uint32_t baseFamily = (signature >> 8) & 0xF;
    return baseFamily == 15 || (vendor == TCpuVendor::Intel && baseFamily == 6);
}

// The model the vendors' documents give: (extended model << 4) + model where the vendor combines
// them, else the base model (Raptor Lake 0xB0671: 183; Zen 4 0xA60F12: 97).
constexpr std::uint32_t DisplayModel(TCpuVendor vendor, std::uint32_t signature) {
    const std::uint32_t model = (signature >> 4) & 0xF;
    return CombinesExtendedModel(vendor, signature) ? (((signature >> 16) & 0xF) << 4) + model : model;
}

// The model the vendors' name tables are keyed by: the extended model added to base model 15.
// Every processor the tables name has an extended model of 0, so this is its display model too.
constexpr std::uint32_t LookupModel(std::uint32_t signature) {
    const std::uint32_t model = (signature >> 4) & 0xF;
    return model == 15 ? model + ((signature >> 16) & 0xF) : model;
}

class ICpuSignatureField {
public:
    virtual ~ICpuSignatureField() = default;
    // The decoded field.
    virtual CpuRef<ICpuNumber> Value() const = 0;
    // Whether the extended field takes part: family when the base family is 15, model where
    // the vendor combines the two model fields (CombinesExtendedModel).
    virtual CpuRef<ICpuBoolean> Extended() const = 0;
};

// One field decoded from a raw number: the signature word of a processor of `vendor`, or the
// brand id for kFieldBrandId.
class TCpuSignatureInformation final : public ICpuSignatureField {
public:
    TCpuSignatureInformation(std::uint32_t raw, std::uint8_t kind, TCpuVendor vendor)
        : raw_(raw), kind_(kind), vendor_(vendor) {}
    CpuRef<ICpuNumber> Value() const override;
    CpuRef<ICpuBoolean> Extended() const override;

private:
    std::uint32_t raw_;
    std::uint8_t kind_;
    TCpuVendor vendor_;
};

class ICpuSignature {
public:
    virtual ~ICpuSignature() = default;
    virtual CpuRef<ICpuSignatureField> ProcessorType() const = 0;
    virtual CpuRef<ICpuSignatureField> Family() const = 0;
    virtual CpuRef<ICpuSignatureField> Model() const = 0;
    virtual CpuRef<ICpuSignatureField> Stepping() const = 0;
    // The brand-id field, bits 0-7 of command 1's EBX; for an AMD family 15 processor (K8) on
    // which it is 0, the whole EBX of command 0x80000001.
    virtual CpuRef<ICpuSignatureField> BrandId() const = 0;
    // "x86 Family 6 Model 8 Stepping 3".
    virtual std::string AsString() const = 0;
    // Command 1's EAX (0 when command 1 is unavailable).
    virtual CpuRef<ICpuNumber> Signature() const = 0;
};

// Reads command 1 of the processor, and its vendor, when constructed.
class TProcessorSignature final : public ICpuSignature {
public:
    explicit TProcessorSignature(std::uint8_t processor);
    CpuRef<ICpuSignatureField> ProcessorType() const override { return Field(kFieldType); }
    CpuRef<ICpuSignatureField> Family() const override { return Field(kFieldFamily); }
    CpuRef<ICpuSignatureField> Model() const override { return Field(kFieldModel); }
    CpuRef<ICpuSignatureField> Stepping() const override { return Field(kFieldStepping); }
    CpuRef<ICpuSignatureField> BrandId() const override;
    std::string AsString() const override;
    CpuRef<ICpuNumber> Signature() const override;

private:
    CpuRef<ICpuSignatureField> Field(std::uint8_t kind) const;

    std::uint8_t processor_;
    TCpuVendor vendor_;
    TCpuid command1_;
};

} // namespace quelmo
