// Clocks and sleeping, as the Win32 calls of the same names behave.
#pragma once

#include "platform/Seam.h"

#include <cstdint>

namespace quelmo::platform {

// A local calendar date and time of day (what GetLocalTime reports).
struct DateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Time {
public:
    virtual ~Time() = default;
    // Milliseconds since start-up, wrapping at 2^32 (GetTickCount).
    virtual std::uint32_t TickCount() = 0;
    // Suspends the calling thread; 0 gives up the rest of the time slice.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // The high-resolution counter and its ticks per second (QueryPerformanceCounter/Frequency).
    virtual std::int64_t PerformanceCounter() = 0;
    virtual std::int64_t PerformanceFrequency() = 0;
    virtual DateTime LocalNow() = 0;
};

// Defined by the platform's implementation file.
template <>
Time& Seam<Time>::Default();

inline Time& TheTime() {
    return Seam<Time>::Get();
}

} // namespace quelmo::platform
