#include "widgets/ChartModel.h"

#include <algorithm>
#include <cmath>

namespace quelmo::widgets {

namespace {

// The settings dialog offers graphs of up to 100 points; longer ones grow on demand.
constexpr std::size_t kInitialSeriesCapacity = 128;

constexpr std::array<std::string_view, kScaleLabelCount> kScaleLabels = {"0", "20", "40", "60", "80", "100"};

int RoundToInt(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

void SeriesPoints::Reserve(std::size_t capacity) {
    if (capacity <= ring_.size()) {
        return;
    }
    // Unroll the ring into the new storage, oldest first.
    std::vector<ChartPoint> grown(capacity);
    for (std::size_t i = 0; i < count_; ++i) {
        grown[i] = (*this)[i];
    }
    ring_.swap(grown);
    head_ = 0;
}

void SeriesPoints::Append(ChartPoint point) {
    if (count_ == ring_.size()) {
        Reserve(std::max<std::size_t>(kInitialSeriesCapacity, ring_.size() * 2));
    }
    ring_[Slot(count_)] = point;
    ++count_;
}

void SeriesPoints::DeleteFirst() {
    if (count_ == 0) {
        return;
    }
    head_ = Slot(1);
    --count_;
}

void SeriesPoints::Clear() {
    head_ = 0;
    count_ = 0;
}

ChartData::ChartData() {
    for (auto& series : series_) {
        series.Reserve(kInitialSeriesCapacity);
    }
}

std::size_t ChartData::Count(int series) const {
    return IsSeries(series) ? Points(series).Count() : 0;
}

void ChartData::DeleteFirst(int series) {
    if (IsSeries(series)) {
        series_[static_cast<std::size_t>(series)].DeleteFirst();
    }
}

void ChartData::Append(int series, double x, double y) {
    if (IsSeries(series)) {
        series_[static_cast<std::size_t>(series)].Append({x, y});
    }
}

void ChartData::Clear(int series) {
    if (IsSeries(series)) {
        series_[static_cast<std::size_t>(series)].Clear();
    }
}

void ChartData::ClearAll() {
    for (auto& series : series_) {
        series.Clear();
    }
}

bool ChartData::XRange(double& minX, double& maxX) const {
    bool any = false;
    for (const auto& series : series_) {
        if (series.IsEmpty()) {
            continue;
        }
        // X ascends within a series, so its ends are its extremes.
        const double first = series.Front().x;
        const double last = series.Back().x;
        minX = any ? std::min(minX, first) : first;
        maxX = any ? std::max(maxX, last) : last;
        any = true;
    }
    return any;
}

std::string_view ScaleLabelText(int index) {
    return kScaleLabels.at(static_cast<std::size_t>(index));
}

double ScaleLabelValue(int index) {
    return kScaleMin + (kScaleMax - kScaleMin) * index / (kScaleLabelCount - 1);
}

ChartLayout LayoutChart(int width, int height, int labelWidth, int textHeight) {
    ChartLayout layout;
    layout.axisX = kChartMarginLeft + std::max(labelWidth, 0) + kChartLabelGap;
    layout.plot = {layout.axisX + 1, kChartMarginTop, width - kChartMarginRight, height - kChartMarginBottom};
    if (layout.plot.right < layout.plot.left) {
        layout.plot.right = layout.plot.left;
    }
    if (layout.plot.bottom < layout.plot.top) {
        layout.plot.bottom = layout.plot.top;
    }
    const int labelRight = kChartMarginLeft + std::max(labelWidth, 0);
    for (int i = 0; i < kScaleLabelCount; ++i) {
        ScaleLabel& label = layout.labels[static_cast<std::size_t>(i)];
        label.gridY = ValueToY(layout.plot, ScaleLabelValue(i));
        // Centred on its grid line, but never cut off at the top or bottom of the control.
        const int top = std::clamp(label.gridY - textHeight / 2, 0, std::max(height - textHeight, 0));
        label.text = {kChartMarginLeft, top, labelRight, top + textHeight};
    }
    return layout;
}

int ValueToY(const PixelRect& plot, double value) {
    if (plot.Height() <= 0) {
        return plot.top;
    }
    const double clamped = std::isnan(value) ? kScaleMin : std::clamp(value, kScaleMin, kScaleMax);
    const double fraction = (clamped - kScaleMin) / (kScaleMax - kScaleMin);
    return plot.bottom - 1 - RoundToInt(fraction * (plot.Height() - 1));
}

int XToPixel(const PixelRect& plot, double minX, double maxX, double x) {
    if (!(maxX > minX) || plot.Width() <= 0 || std::isnan(x)) {
        return plot.left;
    }
    // Points outside the range (none, when the range comes from the points) stay near the plot.
    const double fraction = std::clamp((x - minX) / (maxX - minX), -1.0, 2.0);
    return plot.left + RoundToInt(fraction * (plot.Width() - 1));
}

} // namespace quelmo::widgets
