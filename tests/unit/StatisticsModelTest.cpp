// The statistics window's texts: running time, rate, memory, start time, "??" without a sampling
// thread, the reset, and refreshes that rewrite only what changed without allocating.
#include "AllocationCounter.h"
#include "SamplingFixture.h"
#include "ui/StatisticsModel.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

using L = StatisticsLabel;

TResStatistics Statistics(std::uint32_t samples, std::uint32_t tickStarted) {
    TResStatistics s;
    s.Samples = samples;
    s.CPUUsageMin = 3.125;
    s.CPUUsageAverage = 37.5;
    s.CPUUsageMax = 100;
    s.MemoryUsageMin = 40;
    s.MemoryUsageAverage = 42.26;
    s.MemoryUsageMax = 99.96;
    s.MemoryTotalMB = 4096;
    s.TimeStarted = {2014, 2, 11, 9, 5, 3, 0};
    s.TickStarted = tickStarted;
    return s;
}

TEST(StatisticsTexts, RunningTimeFromTheTickDifference) {
    const struct {
        std::uint32_t started, now;
        const char* text;
    } cases[] = {
        {1000, 1000 + 3725'000, "1 hours 2 mins 5 secs"},
        {1000, 1000 + 3605'000, "1 hours 5 secs"}, // no zero minute part between
        {0, 59'000, "59 secs"},
        {5, 5, "0 secs"},
        {0, 59'500, "1 mins 0 secs"},                   // 59.5 s rounds to the even 60
        {0, 58'500, "58 secs"},                         // and 58.5 s to 58
        {0xFFFFF000u, 0x00000F00u, "8 secs"},           // across the wrap-around: 7936 ms
        {0, 7 * 86400'000u + 1000, "168 hours 1 secs"}, // hours do not roll over into days
    };
    for (const auto& c : cases) {
        StatisticsText text;
        FormatRunningTime(ElapsedSeconds(c.now, c.started), text);
        EXPECT_EQ(text.View(), c.text) << c.started << " -> " << c.now;
    }
}

TEST(StatisticsTexts, ValuesOfARefresh) {
    StatisticsLocale comma;
    comma.decimalSeparator = ",";
    comma.shortMonths[1] = "f\xC3\xA9vr."; // UTF-8, as the form hands it over
    const struct {
        const char* name;
        StatisticsLocale locale;
        std::uint32_t samples, elapsedMs;
        L label;
        const char* text;
    } cases[] = {
        {"no samples yet", {}, 0, 3000, L::Rate, "--"},
        {"120 samples in 61 s", {}, 120, 61'000, L::Rate, "0.508 s"},
        {"rate from rounded seconds", {}, 2, 1'400, L::Rate, "0.500 s"},
        {"samples", {}, 4294967295u, 0, L::Samples, "4294967295"},
        {"processor two decimals", {}, 1, 0, L::CPUUsageAverage, "37.50 %"},
        {"processor minimum", {}, 1, 0, L::CPUUsageMin, "3.12 %"},
        {"processor maximum", {}, 1, 0, L::CPUUsageMax, "100.00 %"},
        {"memory share and megabytes", {}, 1, 0, L::MemoryUsageAverage, "42.3 %  (1,731 MB)"},
        {"memory maximum", {}, 1, 0, L::MemoryUsageMax, "100.0 %  (4,094 MB)"},
        {"memory with the locale's separator", comma, 1, 0, L::MemoryUsageAverage, "42,3 %  (1,731 MB)"},
        {"rate with the locale's separator", comma, 120, 61'000, L::Rate, "0,508 s"},
        {"start time", {}, 1, 0, L::TimeStarted, "11 Feb 2014, 09:05:03"},
        {"start time in the locale", comma, 1, 0, L::TimeStarted, "11 f\xC3\xA9vr. 2014, 09:05:03"},
    };
    for (const auto& c : cases) {
        StatisticsModel model(c.locale);
        const TResStatistics s = Statistics(c.samples, 77);
        model.Format(&s, 77 + c.elapsedMs);
        EXPECT_EQ(model.Text(c.label), c.text) << c.name;
    }
}

TEST(StatisticsTexts, WithoutASamplingThreadEveryValueReadsUnknown) {
    StatisticsModel model;
    model.Refresh(nullptr);
    for (int label = 0; label < kStatisticsLabelCount; ++label) {
        EXPECT_EQ(model.Text(static_cast<L>(label)), "??") << label;
    }
    EXPECT_FALSE(StatisticsModel::Reset(nullptr));
}

// The refresh runs every second: it rewrites only the labels whose text changed, and after the
// first one it allocates nothing.
TEST(StatisticsTexts, RefreshReportsOnlyChangedTextsAndAllocatesNothing) {
    StatisticsModel model;
    TResStatistics s = Statistics(10, 0);
    model.Format(&s, 10'000);
    for (int label = 0; label < kStatisticsLabelCount; ++label) {
        EXPECT_TRUE(model.Changed(static_cast<L>(label))) << label; // the first time: all
    }
    const std::size_t before = testing::AllocationsOnThisThread();
    model.Format(&s, 10'000);
    std::vector<int> changed;
    for (int label = 0; label < kStatisticsLabelCount; ++label) {
        if (model.Changed(static_cast<L>(label))) {
            changed.push_back(label);
        }
    }
    s.Samples = 12;
    model.Format(&s, 11'000);
    const std::size_t allocations = testing::AllocationsOnThisThread() - before;
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(allocations, 0u);
    for (const L label : {L::Samples, L::Rate, L::TimeRuning}) {
        EXPECT_TRUE(model.Changed(label)) << static_cast<int>(label);
    }
    EXPECT_FALSE(model.Changed(L::TimeStarted));
    EXPECT_FALSE(model.Changed(L::CPUUsageAverage));

    model.SetLocale({}); // the user changed the locale: everything again
    model.Format(&s, 11'000);
    EXPECT_TRUE(model.Changed(L::TimeStarted));
}

class StatisticsResetTest : public testing::SamplingFixture {};

// Right after a reset the window shows no samples, no rate, no running time, and the current
// sample as minimum, average and maximum.
TEST_F(StatisticsResetTest, ResetShowsZeroSamplesAndTheSampleAsEveryFigure) {
    UseKernelTimes(1);
    CpuUsageCounters counters;
    counters.RefreshCounters();
    fakes::FakeUiLink link;
    TResMonitor monitor(link, nullptr, counters);
    system.SetMemoryStatusEx(platform::MemoryFigures{1000 * 1048576, 400 * 1048576, 0, 0});
    system.AddProcessorTime(0, 5 * kSecond / 8, 3 * kSecond / 8); // 37.5 %
    monitor.StartUp();
    for (int i = 0; i < 5; ++i) {
        system.AddProcessorTime(0, kSecond / 2, kSecond / 2);
        monitor.ProcessorSample();
        monitor.UpdateStatistics();
    }
    time.SetTick(100'000);
    StatisticsModel model;
    model.Refresh(&monitor);
    EXPECT_EQ(model.Text(L::Samples), "5");

    time.SetTick(200'000);
    time.SetNow({2014, 2, 12, 23, 59, 58, 0});
    ASSERT_TRUE(StatisticsModel::Reset(&monitor));
    model.Refresh(&monitor);
    EXPECT_EQ(model.Text(L::Samples), "0");
    EXPECT_EQ(model.Text(L::Rate), "--");
    EXPECT_EQ(model.Text(L::TimeRuning), "0 secs");
    EXPECT_EQ(model.Text(L::TimeStarted), "12 Feb 2014, 23:59:58");
    EXPECT_EQ(model.Text(L::CPUUsageMin), "50.00 %");
    EXPECT_EQ(model.Text(L::CPUUsageAverage), "50.00 %");
    EXPECT_EQ(model.Text(L::CPUUsageMax), "50.00 %");
    EXPECT_EQ(model.Text(L::MemoryUsageMin), "60.0 %  (600 MB)");
    EXPECT_EQ(model.Text(L::MemoryUsageMax), model.Text(L::MemoryUsageMin));
}

} // namespace
} // namespace quelmo::ui
