#include "widgets/ChartModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quelmo::widgets {
namespace {

std::vector<double> Xs(const SeriesPoints& points) {
    std::vector<double> xs;
    for (std::size_t i = 0; i < points.Count(); ++i) {
        xs.push_back(points[i].x);
    }
    return xs;
}

TEST(SeriesPoints, KeepsOrderAcrossWrapAndGrowth) {
    SeriesPoints points;
    points.Reserve(4);
    // Fill, drop two, refill: the ring wraps; then grow past the capacity while wrapped.
    for (int i = 1; i <= 4; ++i) {
        points.Append({static_cast<double>(i), 0});
    }
    points.DeleteFirst();
    points.DeleteFirst();
    points.Append({5, 0});
    points.Append({6, 0});
    EXPECT_EQ(Xs(points), (std::vector<double>{3, 4, 5, 6}));
    points.Append({7, 0});
    EXPECT_EQ(Xs(points), (std::vector<double>{3, 4, 5, 6, 7}));
    EXPECT_EQ(points.Front().x, 3);
    EXPECT_EQ(points.Back().x, 7);
}

TEST(SeriesPoints, DeleteFirstOnEmptyAndClearKeepStorage) {
    SeriesPoints points;
    points.DeleteFirst();
    EXPECT_EQ(points.Count(), 0u);
    for (int i = 0; i < 50; ++i) {
        points.Append({static_cast<double>(i), 1});
    }
    const std::size_t capacity = points.Capacity();
    points.Clear();
    EXPECT_TRUE(points.IsEmpty());
    EXPECT_EQ(points.Capacity(), capacity);
    points.Append({1, 2});
    EXPECT_EQ(points[0], (ChartPoint{1, 2}));
}

TEST(SeriesPoints, SteadyScrollingNeverReallocates) {
    SeriesPoints points;
    for (int i = 0; i < 100; ++i) {
        points.Append({static_cast<double>(i), 0});
    }
    const std::size_t capacity = points.Capacity();
    const ChartPoint* storage = &points[0];
    for (int i = 100; i < 10000; ++i) {
        points.DeleteFirst();
        points.Append({static_cast<double>(i), 0});
    }
    EXPECT_EQ(points.Capacity(), capacity);
    EXPECT_EQ(points.Count(), 100u);
    EXPECT_EQ(points.Front().x, 9900);
    // Still inside the same block.
    EXPECT_GE(&points[0], storage - static_cast<std::ptrdiff_t>(capacity));
    EXPECT_LE(&points[0], storage + static_cast<std::ptrdiff_t>(capacity));
}

TEST(ChartData, StartsWithRoomForTheLongestDialogGraph) {
    const ChartData data;
    for (int s = 0; s < kChartSeriesCount; ++s) {
        EXPECT_GE(data.Points(s).Capacity(), 100u);
    }
}

TEST(ChartData, IgnoresSeriesOutsideTheFive) {
    ChartData data;
    data.Append(5, 1, 1);
    data.Append(-1, 1, 1);
    data.DeleteFirst(7);
    data.Clear(-3);
    EXPECT_EQ(data.Count(5), 0u);
    double minX = 0;
    double maxX = 0;
    EXPECT_FALSE(data.XRange(minX, maxX));
}

TEST(ChartData, XRangeSpansAllSeries) {
    ChartData data;
    data.Append(1, 21, 10);
    data.Append(1, 100, 10);
    data.Append(0, 50, 0);
    data.Append(0, 101, 0);
    data.Append(3, 5, 0);
    double minX = 0;
    double maxX = 0;
    ASSERT_TRUE(data.XRange(minX, maxX));
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 101);
    data.Clear(3);
    ASSERT_TRUE(data.XRange(minX, maxX));
    EXPECT_EQ(minX, 21);
}

TEST(ChartScale, ValueToYMapsTheFixedScaleOntoThePlotRows) {
    const PixelRect plot{20, 2, 215, 74}; // 72 rows: 2..73
    const struct {
        double value;
        int y;
    } cases[] = {
        {0, 73}, {100, 2}, {50, 37}, {20, 59}, {-5, 73}, {250, 2}, {std::nan(""), 73},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueToY(plot, c.value), c.y) << c.value;
    }
}

TEST(ChartScale, XToPixelStretchesThePointRangeOverThePlot) {
    const PixelRect plot{20, 2, 121, 74}; // columns 20..120
    const struct {
        double minX, maxX, x;
        int column;
    } cases[] = {
        {21, 100, 21, 20},   // oldest point on the left edge
        {21, 100, 100, 120}, // newest on the right edge
        {0, 100, 50, 70},    //
        {5, 5, 5, 20},       // one X value only
        {10, 0, 5, 20},      // an empty range
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XToPixel(plot, c.minX, c.maxX, c.x), c.column) << c.minX << ".." << c.maxX << " " << c.x;
    }
}

TEST(ChartLayout, LabelsSitOnTheirGridLinesInsideTheControl) {
    const ChartLayout layout = LayoutChart(217, 76, 18, 13, 96, 9);
    EXPECT_EQ(layout.axisX, kChartMarginLeft + 18 + kChartLabelGap);
    // Half a label's height above "100" and below "0".
    EXPECT_EQ(layout.plot, (PixelRect{layout.axisX + 1, 6, 215, 70}));
    for (int i = 0; i < kScaleLabelCount; ++i) {
        const ScaleLabel& label = layout.labels[static_cast<std::size_t>(i)];
        EXPECT_TRUE(label.shown) << i;
        EXPECT_EQ(label.gridY, ValueToY(layout.plot, 20.0 * i));
        EXPECT_EQ(label.text.top, label.gridY - 6) << i; // centred, "100" and "0" too
        EXPECT_GE(label.text.top, 0) << i;
        EXPECT_LE(label.text.bottom, 76) << i;
        EXPECT_EQ(label.text.left, kChartMarginLeft) << i;
        EXPECT_LT(label.text.right, layout.axisX);
    }
    EXPECT_EQ(ScaleLabelText(5), "100");
    EXPECT_EQ(ScaleLabelValue(3), 60);
}

TEST(ChartLayout, LowChartsShowFewerLabelsThenNone) {
    const struct {
        int height;
        std::vector<int> shown; // label indexes: 0 is "0", 5 is "100"
    } cases[] = {
        {76, {0, 1, 2, 3, 4, 5}},
        {41, {0, 2, 4}},
        {30, {0, 5}},
        {20, {}},
    };
    for (const auto& c : cases) {
        const ChartLayout layout = LayoutChart(130, c.height, 18, 13, 96, 9);
        std::vector<int> shown;
        for (int i = 0; i < kScaleLabelCount; ++i) {
            if (layout.labels[static_cast<std::size_t>(i)].shown) {
                shown.push_back(i);
            }
        }
        EXPECT_EQ(shown, c.shown) << c.height;
        if (shown.empty()) {
            EXPECT_EQ(layout.axisX, 0) << "the graph takes the labels' room";
        }
    }
    // A plot too narrow for labels leaves them out as well.
    const ChartLayout narrow = LayoutChart(40, 76, 18, 13, 96, 9);
    EXPECT_FALSE(narrow.labels[0].shown);
}

TEST(ChartLayout, TinySizesGiveAnEmptyPlotNotANegativeOne) {
    for (const auto& size : {std::pair{0, 0}, std::pair{10, 3}, std::pair{22, 100}}) {
        const ChartLayout layout = LayoutChart(size.first, size.second, 18, 13);
        EXPECT_GE(layout.plot.Width(), 0);
        EXPECT_GE(layout.plot.Height(), 0);
    }
}

} // namespace
} // namespace quelmo::widgets
