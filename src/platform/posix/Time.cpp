// Native (Linux) clocks for the command-line tools and the native tests.
#include "platform/Time.h"

#include <ctime>
#include <thread>

namespace quelmo::platform {
namespace {

std::int64_t MonotonicNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

class PosixTime final : public Time {
public:
    std::uint32_t TickCount() override {
        return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1'000'000);
    }
    void Sleep(std::uint32_t milliseconds) override {
        if (milliseconds == 0) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }
    std::int64_t PerformanceCounter() override { return MonotonicNanoseconds(); }
    std::int64_t PerformanceFrequency() override { return 1'000'000'000; }
    DateTime LocalNow() override {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        tm local{};
        localtime_r(&ts.tv_sec, &local);
        return {local.tm_year + 1900,
                local.tm_mon + 1,
                local.tm_mday,
                local.tm_hour,
                local.tm_min,
                local.tm_sec,
                static_cast<int>(ts.tv_nsec / 1'000'000)};
    }
};

} // namespace

template <>
Time& Seam<Time>::Default() {
    static PosixTime instance;
    return instance;
}

} // namespace quelmo::platform
