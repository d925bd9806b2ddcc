// What the monitor window does with one sample (the display step) and one clock message, as
// plain data: the gauge value, the point each graph series receives, the memory label text and
// the tray icon's arguments. TForm_Main applies the result to its controls.
#pragma once

#include "ui/FixedText.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quelmo::ui {

// The fields of the sampling thread that the display step reads.
struct SampleView {
    std::int32_t cpuCount = 1;
    double cpuUsageTotal = 0;
    std::span<const double> cpuUsageEach;
    double memoryTotalMB = 0;
    double memoryUsagePercent = 0;
    double memoryUsedMB = 0;
    std::uint32_t samples = 0;
};

// The settings the display step reads.
struct DisplaySettings {
    bool displayEachCPU = false;
    bool displayMemory = true;
    bool memoryAsPercentage = true;
    bool showFreeMemory = false;
    bool appTrayMode = false;
    bool hideTrayWhenVisible = false;
    std::uint16_t graphLength = 80;

    // The current values of the settings store.
    static DisplaySettings FromStore();
};

// Graph series: 0 memory, 1 to 4 the processors (1 also the average).
inline constexpr int kMemorySeries = 0;
inline constexpr int kFirstCpuSeries = 1;
inline constexpr int kLastCpuSeries = 4;
inline constexpr int kSeriesCount = 5;

using LabelText = FixedText<48>;

struct DisplayStep {
    int gaugeProgress = 0;
    double x = 0; // every point of this step has this X: the sample count
    std::array<std::optional<double>, kSeriesCount> seriesY{};
    bool setMemoryLabel = false;
    LabelText memoryLabel;
    bool updateTray = false;
    int trayCpu = 0;
    int trayMemory = -1; // -1: no memory line
};

// The display step for one sample. `decimalSeparator` is the user's (the memory percentage).
void ComputeDisplayStep(const SampleView& sample, const DisplaySettings& settings,
                        std::string_view decimalSeparator, DisplayStep& step);

// "2,394 MHz" for the clock message's WParam taken as a signed 32-bit value.
void FormatClockLabel(std::int32_t mhz, LabelText& text);

// Points a series keeps: GraphLength, but at least 1 (a stored 0 would never stop trimming).
std::size_t TrimLength(std::uint16_t graphLength);

// Trims series `series` to below its length and appends (x, y). Chart is the line chart or
// anything with its Count/DeleteFirst/Append operations.
template <class Chart>
void FeedSeries(Chart& chart, int series, double x, double y, std::uint16_t graphLength) {
    const std::size_t keep = TrimLength(graphLength);
    while (chart.Count(series) >= keep) {
        chart.DeleteFirst(series);
    }
    chart.Append(series, x, y);
}

// Feeds every series the step has a point for, in index order.
template <class Chart>
void ApplySeries(const DisplayStep& step, Chart& chart, std::uint16_t graphLength) {
    for (int series = 0; series < kSeriesCount; ++series) {
        const auto& y = step.seriesY[static_cast<std::size_t>(series)];
        if (y) {
            FeedSeries(chart, series, step.x, *y, graphLength);
        }
    }
}

} // namespace quelmo::ui
