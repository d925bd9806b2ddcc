// The display step of the monitor window without windows: the model's work per sample (gauge
// value, series points, memory label, tray arguments) and the chart geometry one paint computes.
#include "ui/DisplayModel.h"
#include "ui/TrayPicture.h"
#include "widgets/ChartModel.h"
#include "widgets/GaugeModel.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace quelmo;

struct Fixture {
    std::vector<double> each{12.5, 37.0, 99.0, 3.25};
    ui::SampleView sample;
    ui::DisplaySettings settings;
    ui::DisplayStep step;
    widgets::ChartData chart;

    explicit Fixture(bool eachCpu) {
        sample.cpuCount = 4;
        sample.cpuUsageEach = each;
        sample.cpuUsageTotal = 37.9;
        sample.memoryTotalMB = 16384;
        sample.memoryUsedMB = 9000.25;
        sample.memoryUsagePercent = 54.93;
        settings.displayEachCPU = eachCpu;
        // Warm up: every series full, so the measured steps trim and append.
        for (int i = 0; i < 200; ++i) {
            Step();
        }
    }
    void Step() {
        ++sample.samples;
        ui::ComputeDisplayStep(sample, settings, ".", step);
        ui::ApplySeries(step, chart, settings.graphLength);
        ui::TrayTip tip;
        ui::FormatTrayTip(step.trayCpu, step.trayMemory, tip);
        benchmark::DoNotOptimize(tip);
    }
};

void DisplayStep(benchmark::State& state) {
    Fixture fixture(state.range(0) != 0);
    for (auto _ : state) {
        fixture.Step();
        benchmark::DoNotOptimize(fixture.step);
    }
}
BENCHMARK(DisplayStep)->Arg(0)->Arg(1)->ArgName("eachCpu")->Unit(benchmark::kMicrosecond);

// The step plus everything a full paint computes: layout, scale, and every point's pixel.
void DisplayStepAndPaintGeometry(benchmark::State& state) {
    Fixture fixture(true);
    for (auto _ : state) {
        fixture.Step();
        const widgets::ChartLayout layout = widgets::LayoutChart(217, 76, 18, 13);
        double minX = 0;
        double maxX = 0;
        fixture.chart.XRange(minX, maxX);
        long sum = 0;
        for (int s = 0; s < widgets::kChartSeriesCount; ++s) {
            const auto& points = fixture.chart.Points(s);
            for (std::size_t i = 0; i < points.Count(); ++i) {
                sum += widgets::XToPixel(layout.plot, minX, maxX, points[i].x) +
                       widgets::ValueToY(layout.plot, points[i].y);
            }
        }
        const widgets::GaugeLayout gauge = widgets::LayoutGauge(32, 73, fixture.step.gaugeProgress);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(gauge);
    }
}
BENCHMARK(DisplayStepAndPaintGeometry)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
