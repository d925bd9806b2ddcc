// The clock measurement over a scripted clock, the normalisation points and the AMD model
// ratings. Expected figures are worked out by hand from the counters the script gives.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuSpeed.h"
#include "cpuid/RecordedClock.h"
#include "platform/Cpu.h"
#include "platform/Threads.h"
#include "platform/Time.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quelmo {
namespace {

// The time-stamp counter, the clocks and the thread priority as one scripted machine that logs
// every call with the thread that made it.
class ClockRig final : public platform::Cpu, public platform::Time, public platform::Threads {
public:
    enum class Call { Priority, TimeStamp, Counter, Frequency, Tick, Sleep };
    struct Event {
        Call call;
        std::thread::id thread;
        std::int64_t value;
    };

    // Script: answers in order (the last one repeats).
    std::deque<std::uint64_t> timeStamps{0};
    std::deque<std::int64_t> counters{0};
    std::int64_t frequency = 1000;
    std::uint32_t tick = 0;
    std::uint32_t tickPerRead = 0;
    bool sleepAdvancesTick = true;
    bool throwOnCounter = false;

    std::vector<Event> Events() const {
        const std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<Call> Calls() const {
        std::vector<Call> calls;
        for (const Event& event : Events()) {
            calls.push_back(event.call);
        }
        return calls;
    }

    // platform::Cpu
    platform::CpuidRegisters Cpuid(std::uint32_t, std::uint32_t) override { return {}; }
    std::uint64_t ReadTimeStampCounter() override {
        const std::uint64_t value = Next(timeStamps);
        Log(Call::TimeStamp, static_cast<std::int64_t>(value));
        return value;
    }
    bool LookUpAffinitySetter(std::string_view, std::string_view) override { return false; }
    bool AffinitySetterFound() override { return false; }
    std::uint32_t ProcessAffinityMask() override { return 1; }
    void SetProcessAffinityMask(std::uint32_t) override {}
    std::uint32_t ProcessorCount() override { return 1; }

    // platform::Time
    std::uint32_t TickCount() override {
        const std::lock_guard lock(mutex_);
        events_.push_back({Call::Tick, std::this_thread::get_id(), tick});
        const std::uint32_t value = tick;
        tick += tickPerRead;
        return value;
    }
    void Sleep(std::uint32_t milliseconds) override {
        Log(Call::Sleep, milliseconds);
        const std::lock_guard lock(mutex_);
        tick += sleepAdvancesTick ? milliseconds : 0;
    }
    std::int64_t PerformanceCounter() override {
        if (throwOnCounter) {
            throw std::runtime_error("no high-resolution counter");
        }
        const std::int64_t value = Next(counters);
        Log(Call::Counter, value);
        return value;
    }
    std::int64_t PerformanceFrequency() override {
        Log(Call::Frequency, frequency);
        return frequency;
    }
    platform::DateTime LocalNow() override { return {}; }

    // platform::Threads
    int ThreadPriority() override { return platform::kThreadPriorityNormal; }
    void SetThreadPriority(int priority) override { Log(Call::Priority, priority); }
    std::uint32_t ProcessPriorityClass() override { return platform::kNormalPriorityClass; }
    void SetProcessPriorityClass(std::uint32_t) override {}
    void SetThreadAffinity(std::uint32_t) override {}

private:
    template <class T>
    T Next(std::deque<T>& script) {
        const std::lock_guard lock(mutex_);
        const T value = script.front();
        if (script.size() > 1) {
            script.pop_front();
        }
        return value;
    }
    void Log(Call call, std::int64_t value) {
        const std::lock_guard lock(mutex_);
        events_.push_back({call, std::this_thread::get_id(), value});
    }

    mutable std::mutex mutex_;
    std::vector<Event> events_;
};

// Installs the rig as the Cpu, Time and Threads seams.
class RiggedClock : public ::testing::Test {
protected:
    ClockRig rig_;
    ScopedCpu cpu_{rig_};
    platform::ScopedSeam<platform::Time> time_{rig_};
    platform::ScopedSeam<platform::Threads> threads_{rig_};
};

using Call = ClockRig::Call;

TEST_F(RiggedClock, MeasuresCyclesOverCounterSeconds) {
    // 489 081 200 cycles in 2 000 000 counts of a 10 MHz counter (0.2 s): 2445.406 MHz.
    rig_.timeStamps = {1'000, 489'082'200};
    rig_.counters = {5'000'000, 7'000'000};
    rig_.frequency = 10'000'000;
    const TProcessorSpeedInformation speed(0);
    EXPECT_EQ(speed.RawSpeed()->Value(), 2445U);
    EXPECT_EQ(speed.NormalizedSpeed()->Value(), 2450U); // 45 lies nearer 50 than 33
    EXPECT_EQ(speed.NormalizedSpeed()->AsFrequency(), "2.5 Ghz");
}

TEST_F(RiggedClock, SetsTimeCriticalPriorityOnTheMeasuringThreadBeforeTheBody) {
    rig_.timeStamps = {0, 200'000'000};
    rig_.counters = {0, 200};
    const TProcessorSpeedInformation speed(0);
    EXPECT_EQ(speed.RawSpeed()->Value(), 1000U);

    const auto events = rig_.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().call, Call::Priority);
    EXPECT_EQ(events.front().value, platform::kThreadPriorityTimeCritical);
    // Every call comes from that one thread, not from the caller's.
    for (const auto& event : events) {
        EXPECT_EQ(event.thread, events.front().thread);
        EXPECT_NE(event.thread, std::this_thread::get_id());
    }
    // RDTSC, counter, tick, sleep 200, the tick spin, then RDTSC, counter, frequency.
    const std::vector<Call> expected = {Call::Priority,  Call::TimeStamp, Call::Counter,
                                        Call::Tick,      Call::Sleep,     Call::Tick,
                                        Call::TimeStamp, Call::Counter,   Call::Frequency};
    EXPECT_EQ(rig_.Calls(), expected);
    EXPECT_EQ(events[4].value, 200);
}

TEST_F(RiggedClock, SpinsUntilFiveTicksHavePassedAcrossTheTickCountWrap) {
    // The sleep passes no time and each reading moves the tick on by one, from just below 2^32.
    rig_.sleepAdvancesTick = false;
    rig_.tick = 0xFFFFFFFD;
    rig_.tickPerRead = 1;
    rig_.timeStamps = {0, 300'000'000};
    rig_.counters = {0, 300};
    const TProcessorSpeedInformation speed(0);
    EXPECT_EQ(speed.RawSpeed()->Value(), 1000U);
    int ticks = 0;
    for (const Call call : rig_.Calls()) {
        ticks += call == Call::Tick ? 1 : 0;
    }
    EXPECT_EQ(ticks, 6); // k0, then readings 1 to 5 ticks later
}

struct FailedMeasurement {
    const char* name;
    std::deque<std::uint64_t> timeStamps;
    std::deque<std::int64_t> counters;
    std::int64_t frequency;
    bool throwOnCounter;
};

TEST_F(RiggedClock, AFailedMeasurementReadsZero) {
    const FailedMeasurement cases[] = {
        {"zero counter frequency", {0, 1'000'000}, {0, 200}, 0, false},
        {"counter that did not move", {0, 1'000'000}, {500, 500}, 1000, false},
        {"counter that went backwards", {0, 1'000'000}, {500, 300}, 1000, false},
        {"time-stamp counter that went backwards", {1'000'000, 0}, {0, 200}, 1000, false},
        {"time-stamp counter that did not move", {7, 7}, {0, 200}, 1000, false},
        {"the body raises", {0, 1'000'000}, {0, 200}, 1000, true},
    };
    for (const auto& failed : cases) {
        SCOPED_TRACE(failed.name);
        rig_.timeStamps = failed.timeStamps;
        rig_.counters = failed.counters;
        rig_.frequency = failed.frequency;
        rig_.throwOnCounter = failed.throwOnCounter;
        const TProcessorSpeedInformation speed(0);
        EXPECT_EQ(speed.RawSpeed()->Value(), 0U);
        EXPECT_EQ(speed.NormalizedSpeed()->Value(), 0U);
        EXPECT_EQ(speed.NormalizedSpeed()->AsFrequency(), "0 Mhz");
    }
}

TEST_F(RiggedClock, TruncatesTowardZero) {
    // 0.999 999 of a MHz short of 1000: still 999.
    rig_.timeStamps = {0, 999'999'999};
    rig_.counters = {0, 1'000'000};
    rig_.frequency = 1'000'000;
    EXPECT_EQ(TProcessorSpeedInformation(0).RawSpeed()->Value(), 999U);
}

TEST_F(RiggedClock, EveryProcessorIndexMeasuresTheSameClock) {
    // The thread is not pinned: the index takes no part in the measurement.
    rig_.timeStamps = {0, 100'000'000};
    rig_.counters = {0, 100};
    EXPECT_EQ(TProcessorSpeedInformation(7).RawSpeed()->Value(), 1000U);
    EXPECT_EQ(rig_.Calls().front(), Call::Priority);
}

TEST(RecordedClockSpeed, AMeasurementReadsTheRecordedClockExactly) {
    const char* dump = "amd-athlon-xp-barton.txt";
    const std::uint32_t kilohertz[] = {2'083'000, 2'792'700, 75'000, 1'000'000, 0};
    const std::uint32_t expected[] = {2083, 2792, 75, 1000, 0};
    for (std::size_t i = 0; i < std::size(kilohertz); ++i) {
        testing::RecordedProcessor recorded(dump);
        RecordedClock clock(kilohertz[i]);
        recorded.Cpu().SetClock(&clock);
        const platform::ScopedSeam<platform::Time> time(clock);
        EXPECT_EQ(recorded.Processor()->Speed()->RawSpeed()->Value(), expected[i]) << kilohertz[i];
    }
}

TEST(NormalizeSpeed, SnapsTheLastTwoDigitsToTheNearestPoint) {
    struct Case {
        std::uint32_t raw, normalized;
    };
    const Case cases[] = {
        {1998, 2000}, // 98: nearer 100, the next hundred
        {1466, 1466}, // a point itself
        {1470, 1467}, // 3 above 67, 10 below 80
        {2008, 2000}, // 8 above 0, 9 below 17
        {2009, 2017}, // 9 above 0, 8 below 17
        {50, 50},     // a point stays
        {55, 60},     // a tie goes up
        {99, 100},    // the next hundred
        {63, 66},     // 3 above 60, 3 below 66: a tie goes up
        {95, 100},    // a tie between 90 and 100 goes up
        {0, 0},       {1733, 1733}, {2083, 2083}, {2100, 2100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeSpeed(c.raw), c.normalized) << c.raw;
    }
}

TEST(ModelRating, LooksUpTheTableOfTheLevel2Size) {
    struct Case {
        std::uint32_t mhz, level2Kb;
        const char* rating;
    };
    const Case cases[] = {
        {2083, 512, "2800+"}, {2083, 256, "2600+"}, {2100, 512, "3000+"}, {2100, 256, ""},
        {2200, 512, "3200+"}, {1800, 256, "2200+"}, {1400, 256, "1600+"}, {950, 256, "1100+"},
        {1333, 256, "1500+"}, {1533, 256, "1800+"}, {2250, 256, "2800+"}, {1867, 512, "2500+"},
        {2133, 512, "2800+"}, {1300, 512, "1700+"}, {2084, 512, ""},      {2083, 1024, ""},
        {2083, 128, ""},      {2083, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModelRating(c.mhz, c.level2Kb), c.rating) << c.mhz << " MHz, " << c.level2Kb << " KB";
    }
}

// Athlon XPs with 512 KB (Barton) and 256 KB (Thoroughbred, Palomino) of level 2, and a Duron
// with 64 KB (Applebred), which has no rating table.
constexpr const char* kBarton = "amd-athlon-xp-barton.txt";
constexpr const char* kThoroughbred = "amd-athlon-xp-thoroughbred.txt";
constexpr const char* kPalomino = "amd-athlon-xp-palomino.txt";
constexpr const char* kApplebred = "amd-duron-applebred.txt";

TEST(ModelRating, RecordedAthlonsAtTheirOwnClocksRateAsSold) {
    struct Case {
        const char* name;
        const char* dump;
        std::uint32_t kilohertz;
        const char* rating;
    };
    const Case cases[] = {
        // The dumps' headers name the clock and the rating the processor was sold as.
        {"Barton at 2200 MHz", kBarton, 2'200'000, "3200+"},
        {"Thoroughbred at 1800 MHz", kThoroughbred, 1'800'000, "2200+"},
        {"Palomino at 1400 MHz", kPalomino, 1'400'000, "1600+"},
        // The same caches at the clocks the two tables disagree on.
        {"512 KB at 2083 MHz", kBarton, 2'083'000, "2800+"},
        {"256 KB at 2083 MHz", kThoroughbred, 2'083'000, "2600+"},
        {"512 KB at 2100 MHz", kBarton, 2'100'000, "3000+"},
        {"256 KB at 2100 MHz", kThoroughbred, 2'100'000, ""},
        // A raw 2082.6 MHz normalises to 2083 before the lookup.
        {"512 KB at 2082.6 MHz", kBarton, 2'082'600, "2800+"},
        {"64 KB at 1600 MHz", kApplebred, 1'600'000, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::RecordedProcessor recorded(c.dump);
        RecordedClock clock(c.kilohertz);
        recorded.Cpu().SetClock(&clock);
        const platform::ScopedSeam<platform::Time> time(clock);
        EXPECT_EQ(recorded.Processor()->Speed()->Rating(), c.rating);
    }
}

TEST(ModelRating, OnlyAmdProcessorsAreRated) {
    // Mobile Pentium 4-M (Northwood) with an AMD clock: no rating whatever the clock.
    testing::RecordedProcessor recorded("intel-mobile-pentium-4-m.txt");
    RecordedClock clock(2'083'000);
    recorded.Cpu().SetClock(&clock);
    const platform::ScopedSeam<platform::Time> time(clock);
    const auto speed = recorded.Processor()->Speed();
    EXPECT_EQ(speed->NormalizedSpeed()->Value(), 2083U);
    EXPECT_EQ(speed->Rating(), "");
}

} // namespace
} // namespace quelmo
