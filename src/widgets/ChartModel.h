// The portable half of the line chart: point storage, the fixed left scale and the mapping of
// values to pixels. The Win32 control (LineChart) only draws what these compute.
#pragma once

#include "widgets/DesignUnits.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quelmo::widgets {

// A rectangle in pixels; right and bottom are exclusive, as in Win32 RECTs.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct ChartPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// The points of one series, oldest first, kept in a ring: deleting the oldest and appending cost
// constant time and allocate only when the series grows past every size it had before.
class SeriesPoints {
public:
    std::size_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    // index 0 is the oldest point; index must be below Count().
    const ChartPoint& operator[](std::size_t index) const { return ring_[Slot(index)]; }
    const ChartPoint& Front() const { return (*this)[0]; }
    const ChartPoint& Back() const { return (*this)[count_ - 1]; }

    void Append(ChartPoint point);
    // Does nothing when the series is empty.
    void DeleteFirst();
    // Keeps the storage for the points to come.
    void Clear();
    void Reserve(std::size_t capacity);
    std::size_t Capacity() const { return ring_.size(); }

private:
    std::size_t Slot(std::size_t index) const {
        const std::size_t slot = head_ + index;
        return slot < ring_.size() ? slot : slot - ring_.size();
    }

    std::vector<ChartPoint> ring_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// The chart's five series: 0 memory, 1 to 4 the processors (or 1 the average).
inline constexpr int kChartSeriesCount = 5;

class ChartData {
public:
    // Every series starts with room for the longest graph the settings dialog offers.
    ChartData();

    static bool IsSeries(int series) { return series >= 0 && series < kChartSeriesCount; }
    // Out-of-range series indexes read as empty and ignore changes.
    std::size_t Count(int series) const;
    void DeleteFirst(int series);
    void Append(int series, double x, double y);
    void Clear(int series);
    void ClearAll();
    const SeriesPoints& Points(int series) const { return series_[static_cast<std::size_t>(series)]; }

    // The X range of all points present: the hidden bottom axis follows it, so dropping old
    // points and adding new ones scrolls the graph. False when no series holds a point.
    bool XRange(double& minX, double& maxX) const;

private:
    std::array<SeriesPoints, kChartSeriesCount> series_;
};

// The fixed left scale: 0 to 100 in steps of 20, whole-number labels.
inline constexpr double kScaleMin = 0.0;
inline constexpr double kScaleMax = 100.0;
inline constexpr int kScaleLabelCount = 6;
// Label i stands for the value 20 * i.
std::string_view ScaleLabelText(int index);
double ScaleLabelValue(int index);

// Margins around the plot, in design units (widgets/DesignUnits.h).
inline constexpr int kChartMarginTop = 2;
inline constexpr int kChartMarginRight = 2;
inline constexpr int kChartMarginBottom = 2;
// Left of the scale labels, so that "100" does not touch the control's edge.
inline constexpr int kChartMarginLeft = 2;
// Room between the labels and the axis line.
inline constexpr int kChartLabelGap = 3;
// A plot narrower than this leaves the scale labels out.
inline constexpr int kChartMinimumPlotWidth = 24;
// Free rows between the digits of two labels.
inline constexpr int kChartLabelSpacing = 2;

struct ScaleLabel {
    bool shown = false; // left out where labels would overlap
    int gridY = 0;      // the grid line of this value
    PixelRect text;     // where the label is drawn, right-aligned, centred on its grid line
};

struct ChartLayout {
    PixelRect plot; // series are drawn and clipped here
    int axisX = 0;  // the left axis line, just left of the plot
    std::array<ScaleLabel, kScaleLabelCount> labels{};
};

// Lays out a chart of the given client size (pixels) whose widest scale label is `labelWidth`
// pixels and whose text is `textHeight` pixels high, at `dpi`; the digits cover `digitHeight` rows
// of that (the font's ascent less its internal leading; 0: all of it). Every grid line is drawn;
// labels are shown every 20, else every 40, else at 0 and 100 only, else not at all, as far as
// their digits keep apart. Shown labels are centred on their grid lines and lie inside the control.
ChartLayout LayoutChart(int width, int height, int labelWidth, int textHeight, int dpi = kDesignDpi,
                        int digitHeight = 0);

// A value on the fixed scale to a row of the plot: 0 on the bottom row, 100 on the top row.
// Values outside the scale are held at its ends; not-a-number reads as 0.
int ValueToY(const PixelRect& plot, double value);

// An X value to a column of the plot, with the X range of the points present mapped onto the
// plot's full width. A range of one value puts everything on the left edge.
int XToPixel(const PixelRect& plot, double minX, double maxX, double x);

} // namespace quelmo::widgets
