#include "AllocationCounter.h"
#include "ui/DisplayModel.h"
#include "ui/TrayPicture.h"
#include "widgets/ChartModel.h"
#include "widgets/GaugeModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo::ui {
namespace {

// Keeps a computed value from being optimised away.
volatile long sink = 0;
void Use(long value) {
    sink = sink + value;
}

// Once every series is full, a display step (with the texts it makes and the geometry a paint
// computes) allocates nothing, whatever the settings.
TEST(DisplayAllocation, SteadyDisplayStepsAllocateNothing) {
    const struct {
        bool eachCpu, percentage, free;
    } cases[] = {{false, true, false}, {true, true, true}, {true, false, false}, {false, false, true}};
    for (const auto& c : cases) {
        std::vector<double> each{10, 20, 30, 40, 50, 60};
        SampleView sample;
        sample.cpuCount = 6;
        sample.cpuUsageEach = each;
        sample.memoryTotalMB = 65536;
        sample.memoryUsedMB = 40000.5;
        DisplaySettings settings;
        settings.displayEachCPU = c.eachCpu;
        settings.memoryAsPercentage = c.percentage;
        settings.showFreeMemory = c.free;
        widgets::ChartData chart;
        DisplayStep step;
        TrayTip tip;
        LabelText clock;
        const auto run = [&](int from, int to) {
            for (int n = from; n < to; ++n) {
                sample.samples = static_cast<std::uint32_t>(n);
                sample.cpuUsageTotal = n % 101;
                sample.memoryUsagePercent = 50 + (n % 7) * 0.731;
                ComputeDisplayStep(sample, settings, ",", step);
                ApplySeries(step, chart, settings.graphLength);
                FormatTrayTip(step.trayCpu, step.trayMemory, tip);
                FormatClockLabel(2394 + n, clock);
                const auto layout = widgets::LayoutChart(217, 76, 18, 13);
                double minX = 0;
                double maxX = 0;
                chart.XRange(minX, maxX);
                Use(widgets::XToPixel(layout.plot, minX, maxX, step.x));
                Use(widgets::LayoutGauge(32, 73, step.gaugeProgress).filled.top);
                Use(widgets::GaugeText(step.gaugeProgress).View().size());
            }
        };
        run(1, 200); // warm-up: the series fill up
        const std::size_t before = testing::AllocationsOnThisThread();
        run(200, 1200);
        EXPECT_EQ(testing::AllocationsOnThisThread() - before, 0u) << c.eachCpu << c.percentage << c.free;
        EXPECT_EQ(chart.Count(1), 80u);
    }
}

} // namespace
} // namespace quelmo::ui
