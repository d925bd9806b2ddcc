#include "ui/DisplayModel.h"

#include "app/MyConfig.h"
#include "app/MyModules.h"
#include "ui/MainFormTexts.h"

#include <algorithm>
#include <charconv>

namespace quelmo::ui {

namespace {

// The pattern "0.00": two decimals, the user's decimal separator.
void AppendTwoDecimals(double value, std::string_view decimalSeparator, LabelText& text) {
    std::array<char, 32> digits{};
    const auto result =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) {
        return;
    }
    for (const char* p = digits.data(); p != result.ptr; ++p) {
        if (*p == '.') {
            text.Append(decimalSeparator);
        } else {
            text.Append(*p);
        }
    }
}

void FormatMemoryLabel(const SampleView& sample, const DisplaySettings& settings,
                       std::string_view decimalSeparator, LabelText& text) {
    text.Clear();
    if (settings.memoryAsPercentage) {
        const double percent =
            settings.showFreeMemory ? 100.0 - sample.memoryUsagePercent : sample.memoryUsagePercent;
        AppendTwoDecimals(percent, decimalSeparator, text);
        text.Append(texts::monitor::kPercentSuffix);
    } else {
        const double megabytes =
            settings.showFreeMemory ? sample.memoryTotalMB - sample.memoryUsedMB : sample.memoryUsedMB;
        // Short enough for the string's own buffer: no allocation.
        text.Append(FormatThousands(megabytes, config::ThousandsSeparator))
            .Append(' ')
            .Append(texts::monitor::kMB);
    }
}

} // namespace

DisplaySettings DisplaySettings::FromStore() {
    DisplaySettings settings;
    settings.displayEachCPU = config::DisplayEachCPU;
    settings.displayMemory = config::DisplayMemory;
    settings.memoryAsPercentage = config::MemoryAsPercentage;
    settings.showFreeMemory = config::ShowFreeMemory;
    settings.appTrayMode = config::AppTrayMode;
    settings.hideTrayWhenVisible = config::HideTrayWhenVisible;
    settings.graphLength = config::GraphLength;
    return settings;
}

std::size_t TrimLength(std::uint16_t graphLength) {
    return std::max<std::size_t>(graphLength, 1);
}

void ComputeDisplayStep(const SampleView& sample, const DisplaySettings& settings,
                        std::string_view decimalSeparator, DisplayStep& step) {
    step.x = static_cast<double>(sample.samples);
    step.seriesY.fill(std::nullopt);
    step.gaugeProgress = RoundHalfEven(sample.cpuUsageTotal);

    if (settings.displayEachCPU && sample.cpuCount > 1) {
        // Processors 1 to 4 on series 1 to 4; further processors are not drawn, and series
        // without a processor receive nothing.
        std::size_t k = 0;
        for (int series = kFirstCpuSeries; series <= kLastCpuSeries; ++series) {
            if (k < sample.cpuUsageEach.size()) {
                step.seriesY[static_cast<std::size_t>(series)] = sample.cpuUsageEach[k];
                ++k;
            }
        }
    } else {
        step.seriesY[kFirstCpuSeries] = sample.cpuUsageTotal;
    }

    step.setMemoryLabel = settings.displayMemory;
    if (settings.displayMemory) {
        step.seriesY[kMemorySeries] = sample.memoryUsagePercent;
        FormatMemoryLabel(sample, settings, decimalSeparator, step.memoryLabel);
    }

    // The icon is not shown in window mode with HideTrayWhenVisible, so it is left alone then.
    step.updateTray = settings.appTrayMode || !settings.hideTrayWhenVisible;
    step.trayCpu = RoundHalfEven(sample.cpuUsageTotal);
    step.trayMemory = settings.displayMemory ? RoundHalfEven(sample.memoryUsagePercent) : -1;
}

void FormatClockLabel(std::int32_t mhz, LabelText& text) {
    text.Clear();
    text.Append(FormatThousands(mhz, config::ThousandsSeparator)).Append(' ').Append(texts::monitor::kMHz);
}

} // namespace quelmo::ui
