// Three small per-processor answers: the processor serial number, two known errata and the
// processor's current load.
#pragma once

#include "cpuid/CpuValues.h"
#include "cpuid/Cpuid.h"

#include <cstdint>
#include <string>

namespace quelmo {

class ICpuSerial {
public:
    virtual ~ICpuSerial() = default;
    // Whether the processor reports the serial-number feature ("PSN", standard bit 18).
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    // "XXXX-XXXX-XXXX-XXXX-XXXX-XXXX" from command 3's EAX, EDX, ECX (Transmeta: "XXXX-XXXX"
    // from EBX), whether or not the feature is reported.
    virtual std::string AsString() const = 0;
    // The same digits without separators.
    virtual std::string AsHex() const = 0;
};

class ICpuErrata {
public:
    virtual ~ICpuErrata() = default;
    // The Pentium division flaw: 4195835 / 3145727 * 3145727 - 4195835 is not 0.
    virtual CpuRef<ICpuBoolean> FDivError() const = 0;
    // AMD family 6 model 3 stepping 0 (the first Duron), which reports a wrong level-2 size.
    virtual CpuRef<ICpuBoolean> DuronCache() const = 0;
};

class ICpuUsage {
public:
    virtual ~ICpuUsage() = default;
    // The processor's load in whole percent.
    virtual CpuRef<ICpuNumber> Usage() const = 0;
};

// Executes command 3 when constructed; the vendor is read again at each text call.
class TProcessorSerial final : public ICpuSerial {
public:
    explicit TProcessorSerial(std::uint8_t processor) : processor_(processor), command3_(processor, 3) {}
    CpuRef<ICpuBoolean> Available() const override;
    std::string AsString() const override;
    std::string AsHex() const override;

private:
    std::uint8_t processor_;
    TCpuid command3_;
};

// "%1.8x" of a register as a group pair: 0x0000068A -> "0000-068A".
std::string SerialGroupPair(std::uint32_t value);

// Whether the division test fails on the floating-point unit of the calling thread's processor.
bool DivisionFlawPresent();

class TProcessorErrata final : public ICpuErrata {
public:
    explicit TProcessorErrata(std::uint8_t processor) : processor_(processor) {}
    // Runs on whichever processor the calling thread is on.
    CpuRef<ICpuBoolean> FDivError() const override;
    CpuRef<ICpuBoolean> DuronCache() const override;

private:
    std::uint8_t processor_;
};

// A busy fraction as whole percent, truncated toward zero: 0.999 -> 99. Fractions that timing
// jitter puts outside 0..1 read 0 or 100.
std::uint32_t UsagePercent(double fraction);

// Takes a fresh sample of the processor-usage counters at each call: the process-wide ones
// (TheCpuUsage), or those a test installs with ScopedSeam<CpuUsageCounters>.
class TProcessorUsage final : public ICpuUsage {
public:
    explicit TProcessorUsage(std::uint8_t processor) : processor_(processor) {}
    // Passes the counters' ECpuUsage on unchanged ("CPU index out of bounds" for a processor
    // that has no counter instance).
    CpuRef<ICpuNumber> Usage() const override;

private:
    std::uint8_t processor_;
};

} // namespace quelmo
