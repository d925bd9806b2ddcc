#include "ui/DisplayModel.h"

#include "widgets/ChartModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quelmo::ui {
namespace {

using Ys = std::array<std::optional<double>, kSeriesCount>;

DisplayStep Step(const SampleView& sample, const DisplaySettings& settings,
                 std::string_view separator = ".") {
    DisplayStep step;
    ComputeDisplayStep(sample, settings, separator, step);
    return step;
}

TEST(DisplayStep, ProcessorSeriesFollowTheProcessorCount) {
    const std::vector<double> two{30.0, 70.0};
    const std::vector<double> eight{1, 2, 3, 4, 5, 6, 7, 100};
    const std::vector<double> one{0.0};
    const struct {
        const char* name;
        bool eachCpu;
        std::int32_t count;
        const std::vector<double>* each;
        double total;
        Ys expected;
        int gauge;
    } cases[] = {
        // Two processors: series 1 and 2, series 3 and 4 stay empty.
        {"two each", true, 2, &two, 50.0, {55.0, 30.0, 70.0, std::nullopt, std::nullopt}, 50},
        // Eight: only processors 1 to 4 are drawn, the gauge still shows the average of all.
        {"eight each", true, 8, &eight, 16.0, {55.0, 1.0, 2.0, 3.0, 4.0}, 16},
        // One processor: exactly as with the setting off.
        {"one each", true, 1, &one, 12.5, {55.0, 12.5, std::nullopt, std::nullopt, std::nullopt}, 12},
        {"two average", false, 2, &two, 50.5, {55.0, 50.5, std::nullopt, std::nullopt, std::nullopt}, 50},
        {"rounds up", false, 2, &two, 49.51, {55.0, 49.51, std::nullopt, std::nullopt, std::nullopt}, 50},
    };
    for (const auto& c : cases) {
        SampleView sample;
        sample.cpuCount = c.count;
        sample.cpuUsageEach = *c.each;
        sample.cpuUsageTotal = c.total;
        sample.memoryUsagePercent = 55.0;
        sample.samples = 7;
        DisplaySettings settings;
        settings.displayEachCPU = c.eachCpu;
        const DisplayStep step = Step(sample, settings);
        EXPECT_EQ(step.seriesY, c.expected) << c.name;
        EXPECT_EQ(step.gaugeProgress, c.gauge) << c.name;
        EXPECT_EQ(step.x, 7.0) << c.name;
    }
}

TEST(DisplayStep, GraphLengthKeepsTheNewestPoints) {
    const struct {
        std::uint16_t graphLength;
        std::size_t count;
        double firstX;
    } cases[] = {
        {80, 80, 21},  // after 100 samples: X 21..100
        {10, 10, 91},  //
        {100, 100, 1}, //
        {1, 1, 100},   //
        {0, 1, 100},   // a stored 0 trims as 1 instead of never finishing
    };
    for (const auto& c : cases) {
        widgets::ChartData chart;
        DisplaySettings settings;
        settings.graphLength = c.graphLength;
        settings.displayMemory = true;
        DisplayStep step;
        for (std::uint32_t n = 1; n <= 100; ++n) {
            SampleView sample;
            sample.samples = n;
            sample.cpuUsageTotal = 10;
            ComputeDisplayStep(sample, settings, ".", step);
            ApplySeries(step, chart, settings.graphLength);
        }
        for (const int series : {kMemorySeries, kFirstCpuSeries}) {
            const auto& points = chart.Points(series);
            ASSERT_EQ(points.Count(), c.count) << c.graphLength;
            EXPECT_EQ(points.Front().x, c.firstX) << c.graphLength;
            EXPECT_EQ(points.Back().x, 100) << c.graphLength;
        }
        EXPECT_EQ(chart.Count(2), 0u);
    }
}

TEST(DisplayStep, LoweringGraphLengthShortensAtTheNextAppend) {
    widgets::ChartData chart;
    for (int n = 1; n <= 50; ++n) {
        FeedSeries(chart, 1, n, 0, 80);
    }
    FeedSeries(chart, 1, 51, 0, 20);
    EXPECT_EQ(chart.Count(1), 20u);
    EXPECT_EQ(chart.Points(1).Front().x, 32);
}

TEST(DisplayStep, MemoryLabelTexts) {
    const struct {
        bool percentage;
        bool free;
        double percent, totalMB, usedMB;
        const char* separator;
        const char* text;
    } cases[] = {
        {true, true, 37.519, 0, 0, ".", "62.48 %"},
        {true, false, 37.519, 0, 0, ".", "37.52 %"},
        {true, false, 37.519, 0, 0, ",", "37,52 %"},
        {true, true, 37.519, 0, 0, ",", "62,48 %"},
        {true, false, 0, 0, 0, ".", "0.00 %"},
        {true, false, 100, 0, 0, ".", "100.00 %"},
        {false, false, 0, 4096, 2047.5, ".", "2,048 MB"},
        {false, false, 0, 4096, 2046.5, ".", "2,046 MB"},
        {false, true, 0, 4096, 2046.5, ".", "2,050 MB"}, // 2049.5 to even
        {false, true, 0, 16384, 1000, ".", "15,384 MB"},
        {false, false, 0, 0, 0, ".", "0 MB"},
    };
    for (const auto& c : cases) {
        SampleView sample;
        sample.memoryUsagePercent = c.percent;
        sample.memoryTotalMB = c.totalMB;
        sample.memoryUsedMB = c.usedMB;
        DisplaySettings settings;
        settings.memoryAsPercentage = c.percentage;
        settings.showFreeMemory = c.free;
        const DisplayStep step = Step(sample, settings, c.separator);
        EXPECT_TRUE(step.setMemoryLabel);
        EXPECT_EQ(step.memoryLabel.View(), c.text) << c.percent << " " << c.usedMB;
    }
}

TEST(DisplayStep, DisplayMemoryOffLeavesLabelSeriesAndTipAlone) {
    SampleView sample;
    sample.memoryUsagePercent = 62.0;
    sample.cpuUsageTotal = 37.0;
    DisplaySettings settings;
    settings.displayMemory = false;
    const DisplayStep step = Step(sample, settings);
    EXPECT_FALSE(step.setMemoryLabel);
    EXPECT_FALSE(step.seriesY[kMemorySeries].has_value());
    EXPECT_EQ(step.trayMemory, -1);
    EXPECT_EQ(step.trayCpu, 37);
}

TEST(DisplayStep, TrayIsFedUnlessHiddenInWindowMode) {
    const struct {
        bool trayMode, hideWhenVisible, update;
    } cases[] = {
        {false, false, true},
        {false, true, false},
        {true, false, true},
        {true, true, true},
    };
    for (const auto& c : cases) {
        SampleView sample;
        sample.cpuUsageTotal = 24.5;      // to even: 24
        sample.memoryUsagePercent = 61.5; // to even: 62
        DisplaySettings settings;
        settings.appTrayMode = c.trayMode;
        settings.hideTrayWhenVisible = c.hideWhenVisible;
        const DisplayStep step = Step(sample, settings);
        EXPECT_EQ(step.updateTray, c.update) << c.trayMode << c.hideWhenVisible;
        EXPECT_EQ(step.trayCpu, 24);
        EXPECT_EQ(step.trayMemory, 62);
    }
}

TEST(ClockLabel, GroupsThousandsOfTheSignedWParam) {
    const struct {
        std::int32_t mhz;
        const char* text;
    } cases[] = {{3000, "3,000 MHz"}, {2394, "2,394 MHz"}, {800, "800 MHz"}, {0, "0 MHz"}, {-1, "-1 MHz"}};
    for (const auto& c : cases) {
        LabelText text;
        FormatClockLabel(c.mhz, text);
        EXPECT_EQ(text.View(), c.text);
    }
}

} // namespace
} // namespace quelmo::ui
