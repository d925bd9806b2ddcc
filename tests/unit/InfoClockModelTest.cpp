// The CPU information window's clock on its worker thread: answers carry their request's ticket,
// one measurement runs at a time, and only the newest waiting request follows it.
#include "ui/InfoClockModel.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace quelmo::ui {
namespace {

// A measurement that waits until the test lets it finish, and notes each start and answer.
class GatedClock {
public:
    GatedClock()
        : clock_(
              [this](std::uint8_t processor) {
                  std::unique_lock lock(mutex_);
                  started_.push_back(processor);
                  changed_.notify_all();
                  changed_.wait(lock, [this] { return released_ > 0; });
                  --released_;
                  return std::to_string(processor) + " Mhz";
              },
              [this] {
                  const std::lock_guard lock(mutex_);
                  ++answers_;
                  changed_.notify_all();
              }) {}
    ~GatedClock() { Release(); } // lets a running measurement end

    InfoClock& Clock() { return clock_; }
    // Lets one measurement finish and waits for its answer.
    void FinishOne() {
        std::unique_lock lock(mutex_);
        const int expected = answers_ + 1;
        ++released_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return answers_ >= expected; });
    }
    void WaitForStarts(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return started_.size() >= count; });
    }
    std::vector<std::uint8_t> Started() {
        const std::lock_guard lock(mutex_);
        return started_;
    }

private:
    void Release() {
        const std::lock_guard lock(mutex_);
        released_ += 100;
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint8_t> started_;
    int released_ = 0;
    int answers_ = 0;
    InfoClock clock_; // last: its destructor waits while the members above still exist
};

TEST(InfoClock, AnAnswerCarriesItsTicketAndIsCollectedOnce) {
    GatedClock gate;
    InfoClock& clock = gate.Clock();
    EXPECT_FALSE(clock.Collect());
    clock.Request(7, 1);
    gate.WaitForStarts(1);
    EXPECT_TRUE(clock.Busy());
    EXPECT_FALSE(clock.Collect()); // still measuring
    gate.FinishOne();
    const auto answer = clock.Collect();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->ticket, 7U);
    EXPECT_EQ(answer->text, "1 Mhz");
    EXPECT_FALSE(clock.Busy());
    EXPECT_FALSE(clock.Collect());
}

TEST(InfoClock, OnlyTheNewestRequestWaitsForTheRunningOne) {
    GatedClock gate;
    InfoClock& clock = gate.Clock();
    clock.Request(1, 0);
    gate.WaitForStarts(1);
    clock.Request(2, 1);
    clock.Request(3, 2); // replaces 2, which never runs
    gate.FinishOne();
    EXPECT_EQ(clock.Collect()->ticket, 1U); // and starts 3
    gate.WaitForStarts(2);
    gate.FinishOne();
    const auto answer = clock.Collect();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->ticket, 3U);
    EXPECT_EQ(answer->text, "2 Mhz");
    EXPECT_EQ(gate.Started(), (std::vector<std::uint8_t>{0, 2}));
}

TEST(InfoClock, ARequestAfterAnUncollectedAnswerStartsAtOnce) {
    GatedClock gate;
    InfoClock& clock = gate.Clock();
    clock.Request(1, 0);
    gate.FinishOne();
    clock.Request(2, 5); // the answer to 1 is for a page no longer shown
    gate.WaitForStarts(2);
    EXPECT_FALSE(clock.Collect()); // 2 is still measuring
    gate.FinishOne();
    EXPECT_EQ(clock.Collect()->ticket, 2U);
}

TEST(InfoClock, StoppingWaitsForTheRunningMeasurementAndTakesNoMore) {
    GatedClock gate;
    InfoClock& clock = gate.Clock();
    clock.Request(1, 0);
    gate.WaitForStarts(1);
    clock.Request(2, 1);
    std::thread finisher([&] { gate.FinishOne(); });
    clock.Stop();
    finisher.join();
    clock.Request(3, 2);
    EXPECT_EQ(gate.Started(), (std::vector<std::uint8_t>{0}));
}

} // namespace
} // namespace quelmo::ui
