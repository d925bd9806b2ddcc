// The clock of a recorded processor. A dump holds no time-stamp counter, only (in its "# cpu:"
// comment, when the source gave one) the clock the processor ran at. RecordedClock stands in for
// the Time seam and, through RecordedCpu::SetClock, for the time-stamp counter: time passes only
// when slept, and the counter runs at the recorded clock, so a clock measurement takes no real
// time and reads the recorded clock.
#pragma once

#include "platform/Time.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quelmo {

class RecordedClock final : public platform::Time {
public:
    explicit RecordedClock(std::uint32_t kilohertz) : kilohertz_(kilohertz) {}

    // The time-stamp counter: kilohertz cycles per millisecond slept.
    std::uint64_t TimeStampCounter() const { return milliseconds_.load() * kilohertz_; }
    std::uint32_t Kilohertz() const { return kilohertz_; }

    // platform::Time. The high-resolution counter counts milliseconds.
    std::uint32_t TickCount() override { return static_cast<std::uint32_t>(milliseconds_.load()); }
    void Sleep(std::uint32_t milliseconds) override { milliseconds_ += milliseconds; }
    std::int64_t PerformanceCounter() override { return static_cast<std::int64_t>(milliseconds_.load()); }
    std::int64_t PerformanceFrequency() override { return 1000; }
    platform::DateTime LocalNow() override { return platform::Seam<platform::Time>::Default().LocalNow(); }

private:
    std::uint32_t kilohertz_;
    // The measuring thread sleeps while the caller waits; atomic all the same.
    std::atomic<std::uint64_t> milliseconds_{0};
};

// The clock named in a dump's "# cpu:" text, in kHz: the first number followed by "MHz" or
// "GHz" (a blank between allowed, any case): "AMD Athlon XP, 2200 MHz (11 x 200)" -> 2200000,
// "Pentium 4 - M 2.20GHz" -> 2200000. Nothing when the text names no clock.
std::optional<std::uint32_t> RecordedKilohertz(std::string_view cpuText);

} // namespace quelmo
