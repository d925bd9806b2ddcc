#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo::ui {
namespace {

// The labels as Wine measures them at 96 DPI ("2,448 MHz", "8.04 %"), scaled to `dpi`.
MainLayoutInput Input(int width, int height, int dpi = 96, int cpuWidth = 65, int memoryWidth = 42) {
    MainLayoutInput input;
    input.clientWidth = width;
    input.clientHeight = height;
    input.dpi = dpi;
    input.cpuSpeedWidth = cpuWidth * dpi / 96;
    input.memoryUsedWidth = memoryWidth * dpi / 96;
    input.labelHeight = 13 * dpi / 96;
    return input;
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

bool Inside(const PixelRect& inner, int width, int height) {
    return inner.left >= 0 && inner.top >= 0 && inner.right <= width && inner.bottom <= height;
}

TEST(MainLayout, DesignSizeKeepsTheDesignPlaces) {
    const MainLayout design = LayoutMainForm(Input(257, 105));
    EXPECT_EQ(design.imageMove, (PixelRect{0, 0, 20, 20}));
    EXPECT_EQ(design.sbMenu, (PixelRect{21, 0, 37, 20}));
    EXPECT_EQ(design.sbHide, (PixelRect{220, 0, 236, 20}));
    EXPECT_EQ(design.sbClose, (PixelRect{237, 0, 257, 20}));
    EXPECT_EQ(design.gauge, (PixelRect{217, 26, 249, 99}));
    EXPECT_EQ(design.chart, (PixelRect{0, 24, 217, 100}));
    EXPECT_EQ(design.labelCpuSpeed, (PixelRect{64, 5, 129, 18}));
    EXPECT_EQ(design.labelMemoryUsed, (PixelRect{146, 5, 188, 18}));

    const MainLayout big = LayoutMainForm(Input(514, 210));
    EXPECT_EQ(big.sbClose, (PixelRect{494, 0, 514, 20})); // top-right follows the right edge
    EXPECT_EQ(big.gauge, (PixelRect{474, 26, 506, 204})); // and stretches downwards
    EXPECT_EQ(big.chart.bottom, 205);
    EXPECT_EQ(big.labelCpuSpeed.left, 128); // relative place kept
    EXPECT_EQ(big.labelMemoryUsed.left, 292);

    // At 144 DPI every design length is half as long again.
    const MainLayout scaled = LayoutMainForm(Input(386, 158, 144));
    EXPECT_EQ(scaled.sbMenu, (PixelRect{32, 0, 56, 30}));
    EXPECT_EQ(scaled.sbClose, (PixelRect{356, 0, 386, 30}));
    EXPECT_EQ(scaled.gauge, (PixelRect{326, 39, 374, 149}));
}

TEST(MainLayout, HideBarGraphDecidesWhereTheGraphEnds) {
    for (const int width : {170, 250, 257, 1000}) {
        MainLayoutInput input = Input(width, 105);
        const MainLayout withGauge = LayoutMainForm(input);
        input.hideBarGraph = true;
        const MainLayout without = LayoutMainForm(input);
        EXPECT_EQ(withGauge.chart.right, withGauge.gauge.left) << width;
        EXPECT_EQ(withGauge.chart.right, width - 40) << width;
        EXPECT_EQ(without.chart.right, width) << width;
    }
}

// At every size the settings allow, at 96 and 144 DPI, with short and long label texts: nothing on
// the top strip overlaps, the labels stay above the graph, graph and gauge stay apart, and so do
// the graph's scale labels.
TEST(MainLayout, NothingOverlapsAtAnyAllowedSize) {
    const std::vector<int> widths{170, 171, 185, 200, 230, 250, 257, 300, 500, 1000};
    const std::vector<int> heights{70, 71, 80, 105, 150, 400, 1000};
    const struct { int cpu, memory; } texts[] = {{65, 42}, {65, 62}, {24, 24}, {0, 42}, {65, 0}};
    int cpuShown = 0;
    for (const int dpi : {96, 144}) {
        for (const int width : widths) {
            for (const int height : heights) {
                for (const auto& t : texts) {
                    const MainLayoutInput input = Input(width, height, dpi, t.cpu, t.memory);
                    const MainLayout l = LayoutMainForm(input);
                    SCOPED_TRACE(::testing::Message() << width << "x" << height << " at " << dpi
                                                      << " DPI, labels " << t.cpu << "/" << t.memory);
                    std::vector<PixelRect> strip{l.imageMove, l.sbMenu, l.sbHide, l.sbClose};
                    for (const auto& [shown, rect] : {std::pair{l.cpuSpeedShown, l.labelCpuSpeed},
                                                      std::pair{l.memoryUsedShown, l.labelMemoryUsed}}) {
                        if (shown) {
                            strip.push_back(rect);
                            EXPECT_LE(rect.bottom, l.chart.top);
                        }
                    }
                    for (std::size_t i = 0; i < strip.size(); ++i) {
                        EXPECT_TRUE(Inside(strip[i], width, height)) << i;
                        for (std::size_t j = i + 1; j < strip.size(); ++j) {
                            EXPECT_FALSE(Overlap(strip[i], strip[j])) << i << " and " << j;
                        }
                    }
                    EXPECT_FALSE(Overlap(l.chart, l.gauge));
                    EXPECT_TRUE(Inside(l.gauge, width, height));
                    EXPECT_TRUE(Inside(l.chart, width, height));
                    // A label is left out only when it had to be; the memory label stays longest.
                    const int room = l.sbHide.left - l.sbMenu.right - 2 * widgets::ScaleDesign(6, dpi);
                    EXPECT_EQ(l.memoryUsedShown, t.memory > 0 && input.memoryUsedWidth <= room);
                    cpuShown += l.cpuSpeedShown ? 1 : 0;

                    const int scaleWidth = 20 * dpi / 96;
                    const int textHeight = 13 * dpi / 96;
                    const int digitHeight = 9 * dpi / 96;
                    const widgets::ChartLayout chart = widgets::LayoutChart(
                        l.chart.Width(), l.chart.Height(), scaleWidth, textHeight, dpi, digitHeight);
                    const widgets::ScaleLabel* previous = nullptr;
                    for (const widgets::ScaleLabel& label : chart.labels) {
                        if (!label.shown) {
                            continue;
                        }
                        EXPECT_TRUE(Inside(label.text, l.chart.Width(), l.chart.Height()));
                        EXPECT_GE(label.text.left, 1); // not touching the edge
                        EXPECT_LT(label.text.right, chart.axisX);
                        EXPECT_EQ(label.text.top, label.gridY - textHeight / 2); // centred on its line
                        // The digits of neighbouring labels keep apart.
                        EXPECT_TRUE(previous == nullptr || previous->gridY - label.gridY > digitHeight);
                        previous = &label;
                    }
                }
            }
        }
    }
    EXPECT_GT(cpuShown, 0);
}

TEST(MainLayout, NarrowWindowLeavesTheClockOutAndKeepsTheMemoryClearOfTheButtons) {
    const MainLayout narrow = LayoutMainForm(Input(170, 70));
    EXPECT_FALSE(narrow.cpuSpeedShown);
    EXPECT_TRUE(narrow.memoryUsedShown);
    EXPECT_LE(narrow.labelMemoryUsed.right + 6, narrow.sbHide.left);
    // Without the memory label the clock has the room.
    const MainLayout clockOnly = LayoutMainForm(Input(170, 70, 96, 65, 0));
    EXPECT_TRUE(clockOnly.cpuSpeedShown);
    EXPECT_FALSE(clockOnly.memoryUsedShown);
    // Both fit a little wider: pushed together but apart.
    const MainLayout both = LayoutMainForm(Input(200, 70));
    ASSERT_TRUE(both.cpuSpeedShown && both.memoryUsedShown);
    EXPECT_GE(both.labelMemoryUsed.left - both.labelCpuSpeed.right, 6);
}

} // namespace
} // namespace quelmo::ui
