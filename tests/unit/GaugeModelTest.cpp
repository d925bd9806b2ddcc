#include "widgets/GaugeModel.h"

#include <gtest/gtest.h>

#include <ios>
#include <utility>

namespace quelmo::widgets {
namespace {

TEST(GaugeLayout, FillsFromTheBottomInProportion) {
    // The design gauge is 32 x 73: 71 rows inside the frame.
    const struct {
        int progress;
        int filledTop;
    } cases[] = {
        {0, 72}, {100, 1}, {50, 36}, {1, 71}, {37, 46}, {-20, 72}, {180, 1},
    };
    for (const auto& c : cases) {
        const GaugeLayout layout = LayoutGauge(32, 73, c.progress);
        EXPECT_EQ(layout.filled.top, c.filledTop) << c.progress;
        EXPECT_EQ(layout.filled.bottom, 72) << c.progress;
        EXPECT_EQ(layout.empty.top, 1) << c.progress;
        EXPECT_EQ(layout.empty.bottom, layout.filled.top) << c.progress;
        EXPECT_EQ(layout.filled.left, 1);
        EXPECT_EQ(layout.filled.right, 31);
    }
}

TEST(GaugeLayout, DegenerateSizesNeverTurnUpsideDown) {
    for (const auto& size : {std::pair{1, 0}, std::pair{2, 2}, std::pair{0, 50}, std::pair{-5, -5}}) {
        for (const int progress : {0, 50, 100}) {
            const GaugeLayout layout = LayoutGauge(size.first, size.second, progress);
            EXPECT_GE(layout.filled.Height(), 0) << size.first << "x" << size.second;
            EXPECT_GE(layout.empty.Height(), 0) << size.first << "x" << size.second;
            EXPECT_GE(layout.inner.Width(), 0) << size.first << "x" << size.second;
            EXPECT_EQ(layout.filled.bottom, layout.inner.bottom);
        }
    }
}

TEST(GaugeTextColors, StandOutAndNeverUseTheSeeThroughBackground) {
    constexpr Rgb kNavy = 0x800000, kWhite = 0xFFFFFF, kBlack = 0, kYellow = 0x00FFFF;
    const struct {
        Rgb bar, background, overEmpty, overFill;
    } cases[] = {
        {kNavy, kWhite, kNavy, 0xFFFEFF},      // the defaults: white over the navy fill, but not the key
        {kNavy, kBlack, kWhite, kWhite},       // navy does not read on black
        {kYellow, kWhite, kBlack, kBlack},     // nor yellow on white
        {kBlack, kWhite, kBlack, 0xFFFEFF},    //
        {kWhite, kWhite, kBlack, kBlack},      // a bar in the background colour
        {kBlack, kBlack, kWhite, kWhite},      //
        {kBlack, 0x000100, kWhite, kWhite},    // a key one step from black
        {0x00FF00, kBlack, 0x00FF00, 0x000100} // bright green reads on black
    };
    for (const auto& c : cases) {
        const GaugeTextColors colors = ChooseGaugeTextColors(c.bar, c.background);
        EXPECT_EQ(colors.overEmpty, c.overEmpty) << std::hex << c.bar << " on " << c.background;
        EXPECT_EQ(colors.overFill, c.overFill) << std::hex << c.bar << " on " << c.background;
        EXPECT_NE(colors.overEmpty, c.background);
        EXPECT_NE(colors.overFill, c.background);
    }
}

TEST(GaugeText, FitsWithAFreeColumnOnEitherSide) {
    const GaugeLayout design = LayoutGauge(32, 73, 100); // 30 x 71 inside the frame
    EXPECT_TRUE(GaugeTextFits(design, 28, 13));
    EXPECT_FALSE(GaugeTextFits(design, 29, 13));
    EXPECT_FALSE(GaugeTextFits(design, 20, 72));
    EXPECT_EQ(GaugeTextBox(design, 28, 13), (PixelRect{2, 30, 30, 43}));
}

TEST(GaugeText, WritesTheClampedPercentage) {
    const struct {
        int progress;
        const char* text;
    } cases[] = {{0, "0%"}, {7, "7%"}, {37, "37%"}, {100, "100%"}, {-4, "0%"}, {1000, "100%"}};
    for (const auto& c : cases) {
        EXPECT_EQ(GaugeText(c.progress).View(), c.text);
    }
}

} // namespace
} // namespace quelmo::widgets
