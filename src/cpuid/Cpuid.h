// CPUID on a chosen processor: the command ranges and their availability rule, the executor
// TCpuid, process binding TCpuAffinity and the range objects.
//
// Every CPUID command of the library goes through TCpuid, which binds the process to the
// processor (on machines with more than one), checks the command against its range and leaves
// zeros in all four registers when the command is not available.
#pragma once

#include "cpuid/CpuValues.h"

#include <cstdint>
#include <string>

namespace quelmo {

// Base commands of the three command ranges.
inline constexpr std::uint32_t kStandardBase = 0;
inline constexpr std::uint32_t kExtendedBase = 0x80000000;
inline constexpr std::uint32_t kTransmetaBase = 0x80860000;

// AMD's cache topology, the one extended command the library reads beyond 0x80000008.
inline constexpr std::uint32_t kCacheTopologyCommand = 0x8000001D;

// The base command of the range `command` belongs to: 0x80000000..0x80000008 and 0x8000001D
// extended, 0x80860000..0x80860007 Transmeta, every other value standard (0x80000009 included).
constexpr std::uint32_t CommandRangeBase(std::uint32_t command) {
    if ((command >= kExtendedBase && command <= kExtendedBase + 8) || command == kCacheTopologyCommand) {
        return kExtendedBase;
    }
    if (command >= kTransmetaBase && command <= kTransmetaBase + 7) {
        return kTransmetaBase;
    }
    return kStandardBase;
}

// Whether `command` is available on `processor`: the highest command of its range (EAX of the
// range's base command, executed on that processor) is at least `command`, unsigned.
bool CommandAvailable(std::uint8_t processor, std::uint32_t command);

// Binds the whole process to one processor for its lifetime and restores the mask it found.
// Does nothing on a one-processor machine, for processor 32 and above, when the process mask
// cannot be read, or (beyond reading the mask) when the system has no process-affinity setter;
// a processor past the last one binds processor 0. Bindings nest.
class TCpuAffinity {
public:
    explicit TCpuAffinity(std::uint8_t processor);
    ~TCpuAffinity();
    TCpuAffinity(const TCpuAffinity&) = delete;
    TCpuAffinity& operator=(const TCpuAffinity&) = delete;

    bool Bound() const { return bound_; }
    std::uint32_t Mask() const { return mask_; }

private:
    bool bound_ = false;
    std::uint32_t mask_ = 0;
    std::uint32_t savedMask_ = 0;
};

class ICpuid {
public:
    virtual ~ICpuid() = default;
    virtual std::uint8_t Processor() const = 0;
    virtual std::uint32_t Command() const = 0;
    virtual std::int32_t Iterations() const = 0;
    // The registers' bytes as 16 characters: EAX, EBX, ECX, EDX, each lowest byte first.
    virtual std::string AsString() const = 0;
    // The availability rule, evaluated again at each call.
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    virtual CpuRef<ICpuNumber> Eax() const = 0;
    virtual CpuRef<ICpuNumber> Ebx() const = 0;
    virtual CpuRef<ICpuNumber> Ecx() const = 0;
    virtual CpuRef<ICpuNumber> Edx() const = 0;
};

// Executes `command` `iterations` times on `processor` when constructed (not at all below 1)
// and keeps the last execution's registers; all four are 0 when the command is unavailable.
// `subleaf` reaches the processor for commands 4 and 0x8000001D only (platform::LeafTakesSubleaf).
class TCpuid final : public ICpuid {
public:
    TCpuid(std::uint8_t processor, std::uint32_t command, std::int32_t iterations = 1,
           std::uint32_t subleaf = 0);
    std::uint8_t Processor() const override { return processor_; }
    std::uint32_t Command() const override { return command_; }
    std::int32_t Iterations() const override { return iterations_; }
    std::string AsString() const override;
    CpuRef<ICpuBoolean> Available() const override;
    CpuRef<ICpuNumber> Eax() const override { return CpuNumber(eax_); }
    CpuRef<ICpuNumber> Ebx() const override { return CpuNumber(ebx_); }
    CpuRef<ICpuNumber> Ecx() const override { return CpuNumber(ecx_); }
    CpuRef<ICpuNumber> Edx() const override { return CpuNumber(edx_); }

private:
    std::uint8_t processor_;
    std::uint32_t command_;
    std::int32_t iterations_;
    std::uint32_t eax_ = 0;
    std::uint32_t ebx_ = 0;
    std::uint32_t ecx_ = 0;
    std::uint32_t edx_ = 0;
};

// Range kinds of TCpuidInformation; any other value is treated as standard.
inline constexpr std::uint8_t kRangeStandard = 0;
inline constexpr std::uint8_t kRangeExtended = 1;
inline constexpr std::uint8_t kRangeTransmeta = 2;

class ICpuidInformation {
public:
    virtual ~ICpuidInformation() = default;
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    // The highest command of the range, 0 when the range is unavailable.
    virtual CpuRef<ICpuNumber> MaxCommand() const = 0;
};

class TCpuidInformation final : public ICpuidInformation {
public:
    TCpuidInformation(std::uint8_t processor, std::uint8_t rangeKind);
    CpuRef<ICpuBoolean> Available() const override { return base_.Available(); }
    CpuRef<ICpuNumber> MaxCommand() const override { return base_.Eax(); }

private:
    TCpuid base_; // the range's base command on the processor
};

class ICpuidRanges {
public:
    virtual ~ICpuidRanges() = default;
    virtual CpuRef<ICpuidInformation> Standard() const = 0;
    virtual CpuRef<ICpuidInformation> Extended() const = 0;
    virtual CpuRef<ICpuidInformation> Transmeta() const = 0;
};

class TProcessorCpuid final : public ICpuidRanges {
public:
    explicit TProcessorCpuid(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuidInformation> Standard() const override;
    CpuRef<ICpuidInformation> Extended() const override;
    CpuRef<ICpuidInformation> Transmeta() const override;

private:
    std::uint8_t processor_;
};

} // namespace quelmo
