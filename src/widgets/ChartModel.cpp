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

namespace {

// The plot and the axis for a label column `labelWidth` wide (0: none), with the top and bottom
// margins `marginTop` and `marginBottom`.
void PlaceAxis(ChartLayout& layout, int width, int height, int labelWidth, int marginTop, int marginBottom,
               int dpi) {
    layout.axisX = labelWidth > 0
                       ? ScaleDesign(kChartMarginLeft, dpi) + labelWidth + ScaleDesign(kChartLabelGap, dpi)
                       : 0;
    layout.plot = {layout.axisX + 1, marginTop, width - ScaleDesign(kChartMarginRight, dpi),
                   height - marginBottom};
    layout.plot.right = std::max(layout.plot.right, layout.plot.left);
    layout.plot.bottom = std::max(layout.plot.bottom, layout.plot.top);
    for (int i = 0; i < kScaleLabelCount; ++i) {
        layout.labels[static_cast<std::size_t>(i)].gridY = ValueToY(layout.plot, ScaleLabelValue(i));
    }
}

// Whether the labels every `stride` steps, from 0 up, are at least `spacing` rows apart.
bool LabelsFit(const ChartLayout& layout, int stride, int spacing) {
    for (int i = stride; i < kScaleLabelCount; i += stride) {
        if (layout.labels[static_cast<std::size_t>(i - stride)].gridY -
                layout.labels[static_cast<std::size_t>(i)].gridY <
            spacing) {
            return false;
        }
    }
    return true;
}

} // namespace

ChartLayout LayoutChart(int width, int height, int labelWidth, int textHeight, int dpi, int digitHeight) {
    ChartLayout layout;
    const int marginTop = ScaleDesign(kChartMarginTop, dpi);
    const int marginBottom = ScaleDesign(kChartMarginBottom, dpi);
    if (labelWidth > 0 && textHeight > 0) {
        // Room above the top line and below the bottom one for half a label each, so that "100"
        // and "0" can be centred on their lines.
        const int above = std::max(marginTop, textHeight / 2);
        const int below = std::max(marginBottom, textHeight - textHeight / 2 - 1);
        PlaceAxis(layout, width, height, labelWidth, above, below, dpi);
        const int spacing =
            (digitHeight > 0 ? digitHeight : textHeight) + ScaleDesign(kChartLabelSpacing, dpi);
        if (layout.plot.Width() >= ScaleDesign(kChartMinimumPlotWidth, dpi)) {
            for (const int stride : {1, 2, 5}) {
                if (!LabelsFit(layout, stride, spacing)) {
                    continue;
                }
                const int right = ScaleDesign(kChartMarginLeft, dpi) + labelWidth;
                for (int i = 0; i < kScaleLabelCount; i += stride) {
                    ScaleLabel& label = layout.labels[static_cast<std::size_t>(i)];
                    const int top = label.gridY - textHeight / 2;
                    label.shown = true;
                    label.text = {right - labelWidth, top, right, top + textHeight};
                }
                return layout;
            }
        }
    }
    // No label fits: the graph takes their room.
    PlaceAxis(layout, width, height, 0, marginTop, marginBottom, dpi);
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
