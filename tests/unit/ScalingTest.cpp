#include "ui/Placement.h"
#include "ui/Scaling.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(Scaling, DesignUnitsBecomePixelsAtEachDisplayScale) {
    const struct {
        int dpi;
        DesignSize window; // the 250 x 105 monitor window
        int three, five, fontHeight, line, smallIcon;
    } cases[] = {
        {96, {250, 105}, 3, 5, -11, 1, 16},
        {120, {313, 131}, 4, 6, -13, 1, 20},
        {144, {375, 158}, 5, 8, -16, 2, 24},
        {192, {500, 210}, 6, 10, -21, 2, 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleSize({250, 105}, c.dpi), c.window) << c.dpi;
        // MulDiv's rounding: 3 x 1.25 = 3.75 -> 4, 3 x 1.5 = 4.5 -> 5 (halves away from zero).
        EXPECT_EQ(ScaleDesign(3, c.dpi), c.three) << c.dpi;
        EXPECT_EQ(ScaleDesign(5, c.dpi), c.five) << c.dpi;
        EXPECT_EQ(ScaleDesign(-3, c.dpi), -c.three) << c.dpi;
        EXPECT_EQ(FontHeightForPoints(8, c.dpi), c.fontHeight) << c.dpi;
        EXPECT_EQ(ScaleLine(1, c.dpi), c.line) << c.dpi;
        EXPECT_EQ(ScaledSmallIconSize(16, 96, c.dpi), c.smallIcon) << c.dpi;
        // Touching rectangles still touch.
        const widgets::PixelRect a = ScaleRect({0, 0, 7, 5}, c.dpi);
        const widgets::PixelRect b = ScaleRect({7, 0, 13, 5}, c.dpi);
        EXPECT_EQ(a.right, b.left) << c.dpi;
    }
}

TEST(Scaling, LinesKeepOnePixelAndNoDpiMeans96) {
    EXPECT_EQ(ScaleLine(1, 72), 1);  // 0.75 rounds to 1 anyway
    EXPECT_EQ(ScaleLine(1, 40), 1);  // 0.42 would vanish
    EXPECT_EQ(ScaleLine(0, 192), 0); // no line stays no line
    EXPECT_EQ(ScaleDesign(1, 40), 0);
    EXPECT_EQ(ValidDpi(0), 96);
    EXPECT_EQ(ToDesign(375, 0), 375);
}

TEST(Scaling, StoredWindowSizeIsDesignUnitsAndAppliedInPixels) {
    // A file written at 100 % gives the same look at 150 %: the stored 250 x 105 becomes 375 x 158.
    PlacementInput input;
    input.posX = 40;
    input.posY = 30;
    input.posWidth = 250;
    input.posHeight = 105;
    input.desktop = {0, 0, 2880, 1620};
    input.dpi = 144;
    EXPECT_EQ(RestorePlacement(input), (ScreenBox{40, 30, 375, 158}));
    // The first start centres the scaled window on the primary screen.
    input.firstLaunch = true;
    input.primaryWidth = 2880;
    input.primaryHeight = 1620;
    EXPECT_EQ(RestorePlacement(input), (ScreenBox{1252, 731, 375, 158}));
    // Every size the settings allow survives being applied and read back.
    for (const int dpi : {96, 120, 144, 192}) {
        for (int design = 70; design <= 1000; ++design) {
            ASSERT_EQ(StoredSize(ScaleDesign(design, dpi), dpi), design) << design << " at " << dpi;
        }
    }
}

TEST(Scaling, PresetsUseTheWorkAreaOfAMonitorAtAnOffset) {
    // A 150 % monitor right of the primary, its taskbar at the bottom; the window is 375 x 158.
    const ScreenBox secondWork{1920, 0, 2880, 1580};
    int left = 0;
    int top = 0;
    MoveToPreset(LocationPreset::BottomRight, secondWork, 375, 158, left, top);
    EXPECT_EQ(left, 4425);
    EXPECT_EQ(top, 1422);
    MoveToPreset(LocationPreset::Center, secondWork, 375, 158, left, top);
    EXPECT_EQ(left, 3173);
    EXPECT_EQ(top, 711);
}

} // namespace
} // namespace quelmo::ui
