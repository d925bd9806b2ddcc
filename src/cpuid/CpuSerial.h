// Three small per-processor answers: the processor serial number, two known errata and the
// processor's current load.
#pragma once

#include "cpuid/CpuValues.h"

#include <cstdint>
#include <string>

namespace quelmo {

class ICpuSerial {
public:
    virtual ~ICpuSerial() = default;
    // Whether the processor reports the serial-number feature ("PSN").
    virtual CpuRef<ICpuBoolean> Available() const = 0;
    // "XXXX-XXXX-XXXX-XXXX-XXXX-XXXX" (Transmeta: "XXXX-XXXX").
    virtual std::string AsString() const = 0;
    // The same digits without separators.
    virtual std::string AsHex() const = 0;
};

class ICpuErrata {
public:
    virtual ~ICpuErrata() = default;
    virtual CpuRef<ICpuBoolean> FDivError() const = 0;
    virtual CpuRef<ICpuBoolean> DuronCache() const = 0;
};

class ICpuUsage {
public:
    virtual ~ICpuUsage() = default;
    // The processor's load in whole percent.
    virtual CpuRef<ICpuNumber> Usage() const = 0;
};

// Placeholders until serial number, errata and usage land.
class TProcessorSerial final : public ICpuSerial {
public:
    explicit TProcessorSerial(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuBoolean> Available() const override { return CpuBoolean(false); }
    std::string AsString() const override { return {}; }
    std::string AsHex() const override { return {}; }
    std::uint8_t Processor() const { return processor_; }

private:
    std::uint8_t processor_;
};

class TProcessorErrata final : public ICpuErrata {
public:
    explicit TProcessorErrata(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuBoolean> FDivError() const override { return CpuBoolean(false); }
    CpuRef<ICpuBoolean> DuronCache() const override { return CpuBoolean(false); }
    std::uint8_t Processor() const { return processor_; }

private:
    std::uint8_t processor_;
};

class TProcessorUsage final : public ICpuUsage {
public:
    explicit TProcessorUsage(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuNumber> Usage() const override { return CpuNumber(0); }
    std::uint8_t Processor() const { return processor_; }

private:
    std::uint8_t processor_;
};

} // namespace quelmo
