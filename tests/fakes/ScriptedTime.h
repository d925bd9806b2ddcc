// Clocks and sleeping under a test's control: the tick count moves only when told (or by a fixed
// step per reading), sleeps are recorded and return at once (or after a real millisecond, so
// that a thread under test does not spin). Safe to use from several threads; never allocates
// after construction.
#pragma once

#include "platform/Time.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace quelmo::fakes {

class ScriptedTime final : public platform::Time {
public:
    ScriptedTime() { sleeps_.reserve(kSleepHistory); }

    std::uint32_t TickCount() override { return tick_.fetch_add(tickStep_.load()); }
    void Sleep(std::uint32_t milliseconds) override {
        {
            const std::lock_guard lock(mutex_);
            if (sleeps_.size() < kSleepHistory) {
                sleeps_.push_back(milliseconds);
            }
        }
        ++sleepCount_;
        tick_ += advanceOnSleep_.load() ? milliseconds : 0;
        if (realSleep_.load() && milliseconds > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::int64_t PerformanceCounter() override { return counter_.fetch_add(1); }
    std::int64_t PerformanceFrequency() override { return 1000; }
    platform::DateTime LocalNow() override {
        const std::lock_guard lock(mutex_);
        return now_;
    }

    void SetTick(std::uint32_t tick) { tick_.store(tick); }
    // Every reading of the tick count moves it on by `step` ms after answering.
    void SetTickStep(std::uint32_t step) { tickStep_.store(step); }
    void SetAdvanceOnSleep(bool advance) { advanceOnSleep_.store(advance); }
    void SetRealSleep(bool real) { realSleep_.store(real); }
    void SetNow(const platform::DateTime& now) {
        const std::lock_guard lock(mutex_);
        now_ = now;
    }

    std::size_t SleepCount() const { return sleepCount_.load(); }
    // The first sleeps, in order (up to kSleepHistory).
    std::vector<std::uint32_t> Sleeps() const {
        const std::lock_guard lock(mutex_);
        return sleeps_;
    }

    static constexpr std::size_t kSleepHistory = 4096;

private:
    mutable std::mutex mutex_;
    std::atomic<std::uint32_t> tick_{0};
    std::atomic<std::uint32_t> tickStep_{0};
    std::atomic<bool> advanceOnSleep_{false};
    std::atomic<bool> realSleep_{false};
    std::atomic<std::int64_t> counter_{0};
    std::atomic<std::size_t> sleepCount_{0};
    std::vector<std::uint32_t> sleeps_;
    platform::DateTime now_{2014, 2, 11, 12, 0, 0, 0};
};

} // namespace quelmo::fakes
