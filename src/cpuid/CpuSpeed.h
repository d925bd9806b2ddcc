// The clock of a processor, measured from the time-stamp counter against the high-resolution
// counter, its normalised value and the AMD model rating.
//
// The measurement runs on a short-lived thread at time-critical priority and goes through the
// Cpu (RDTSC), Time (counter, tick count, sleep) and Threads (priority) seams, so that a test
// or a recorded processor can script the clock.
#pragma once

#include "cpuid/CpuValues.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

namespace quelmo {

// The measurement sleeps this long, then spins until at least kClockSpinTicks ms have passed.
inline constexpr std::uint32_t kClockSleepMs = 200;
inline constexpr std::uint32_t kClockSpinTicks = 5;

// One clock measurement on the calling thread (the body of TCpuSpeedThread), in MHz: time-stamp
// counter cycles over the high-resolution counter's seconds. 0 when the counters give nothing
// usable (no frequency, no time passed, a counter that went backwards).
double MeasureClockMhz();

// Measures the clock once on its own thread, started at construction with time-critical
// priority set before the measurement begins. Not pinned to any processor.
class TCpuSpeedThread {
public:
    TCpuSpeedThread();
    ~TCpuSpeedThread();
    TCpuSpeedThread(const TCpuSpeedThread&) = delete;
    TCpuSpeedThread& operator=(const TCpuSpeedThread&) = delete;

    // Waits until the measurement has finished.
    void WaitFor();
    // After WaitFor: the measured MHz truncated toward zero; 0 when the measurement failed or
    // the thread could not start.
    std::uint32_t Speed() const;

private:
    double speed_ = 0; // written by the thread, read after it has been joined
    std::thread thread_;
};

// The raw speed with its last two digits snapped to the nearest of the normalisation points
// 0, 17, 20, 33, 50, 60, 66, 67, 80, 83, 90, 100; ties go up (1998 -> 2000, 2009 -> 2017).
std::uint32_t NormalizeSpeed(std::uint32_t mhz);

// The AMD model rating of a normalised speed for a level-2 cache of `level2Kb` (256 or 512 KB
// have tables), or the empty text.
std::string_view ModelRating(std::uint32_t normalizedMhz, std::uint32_t level2Kb);

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

// Measures the clock once when constructed (at least 200 ms): take it once and read both
// numbers from it.
class TProcessorSpeedInformation final : public ICpuSpeed {
public:
    explicit TProcessorSpeedInformation(std::uint8_t processor);
    CpuRef<ICpuNumber> RawSpeed() const override { return CpuNumber(raw_); }
    CpuRef<ICpuNumber> NormalizedSpeed() const override { return CpuNumber(normalized_); }
    std::string Rating() const override;

private:
    std::uint8_t processor_;
    std::uint32_t raw_ = 0;
    std::uint32_t normalized_ = 0;
};

} // namespace quelmo
