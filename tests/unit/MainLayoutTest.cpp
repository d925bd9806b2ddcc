#include "ui/MainLayout.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(MainLayout, HideBarGraphDecidesWhereTheGraphEnds) {
    const struct {
        int width;
        bool hide;
        int chartWidth;
    } cases[] = {
        {257, false, 217},  {257, true, 257}, // the design size
        {250, false, 210},  {250, true, 250}, // the default width
        {1000, false, 960}, {170, true, 170},
    };
    for (const auto& c : cases) {
        const MainLayout layout = LayoutMainForm(c.width, 105, c.hide);
        EXPECT_EQ(layout.chart.left, 0);
        EXPECT_EQ(layout.chart.Width(), c.chartWidth) << c.width << " " << c.hide;
        if (!c.hide) {
            EXPECT_EQ(layout.chart.right, layout.gauge.left);
        }
    }
}

TEST(MainLayout, AnchorsFollowTheClientSize) {
    const MainLayout design = LayoutMainForm(257, 105, false);
    EXPECT_EQ(design.sbHide, (PixelRect{220, 0, 236, 20}));
    EXPECT_EQ(design.sbClose, (PixelRect{237, 0, 257, 20}));
    EXPECT_EQ(design.gauge, (PixelRect{217, 26, 249, 99}));
    EXPECT_EQ(design.chart, (PixelRect{0, 24, 217, 100}));
    EXPECT_EQ(design.labelCpuSpeedLeft, 64);
    EXPECT_EQ(design.labelMemoryUsedLeft, 146);

    const MainLayout big = LayoutMainForm(514, 210, false);
    EXPECT_EQ(big.imageMove, (PixelRect{0, 0, 20, 20})); // top-left stays
    EXPECT_EQ(big.sbMenu, (PixelRect{21, 0, 37, 20}));
    EXPECT_EQ(big.sbClose, (PixelRect{494, 0, 514, 20})); // top-right follows the right edge
    EXPECT_EQ(big.gauge, (PixelRect{474, 26, 506, 204})); // and stretches downwards
    EXPECT_EQ(big.chart.bottom, 205);
    EXPECT_EQ(big.labelCpuSpeedLeft, 128); // relative place kept
    EXPECT_EQ(big.labelMemoryUsedLeft, 292);
}

TEST(MainLayout, SmallestHeightKeepsRectanglesUpright) {
    const MainLayout layout = LayoutMainForm(170, 20, false);
    EXPECT_GE(layout.chart.Height(), 0);
    EXPECT_GE(layout.gauge.Height(), 0);
}

} // namespace
} // namespace quelmo::ui
