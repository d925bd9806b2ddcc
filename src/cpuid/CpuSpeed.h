// The clock of a processor, measured from the time-stamp counter against the high-resolution
// counter, its normalised value and the AMD model rating.
#pragma once

#include "cpuid/CpuValues.h"

#include <cstdint>
#include <string>

namespace quelmo {

class ICpuSpeed {
public:
    virtual ~ICpuSpeed() = default;
    // The measured speed in whole MHz.
    virtual CpuRef<ICpuNumber> RawSpeed() const = 0;
    // The raw speed with its last two digits snapped to the nearest normalisation point.
    virtual CpuRef<ICpuNumber> NormalizedSpeed() const = 0;
    // The AMD model rating ("2800+"), or the empty text.
    virtual std::string Rating() const = 0;
};

// Placeholder until the clock measurement lands: nothing measured.
class TProcessorSpeedInformation final : public ICpuSpeed {
public:
    explicit TProcessorSpeedInformation(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuNumber> RawSpeed() const override { return CpuNumber(0); }
    CpuRef<ICpuNumber> NormalizedSpeed() const override { return CpuNumber(0); }
    std::string Rating() const override { return {}; }
    std::uint8_t Processor() const { return processor_; }

private:
    std::uint8_t processor_;
};

} // namespace quelmo
