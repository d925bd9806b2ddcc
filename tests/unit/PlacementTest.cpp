#include "ui/Placement.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(Placement, CentresOnFirstLaunchAndKeepsTheCornerOnTheDesktop) {
    const ScreenBox single{0, 0, 1920, 1080};
    const ScreenBox twoScreens{-1280, 0, 3200, 1080}; // a second monitor left of the primary
    const struct {
        const char* name;
        bool first;
        int x, y;
        ScreenBox desktop;
        int expectedX, expectedY;
    } cases[] = {
        {"first start centres", true, 5, 5, single, 835, 487},
        {"next start keeps", false, 300, 200, single, 300, 200},
        {"far right", false, 5000, 100, single, 1900, 100},
        {"far left", false, -300, 100, single, 0, 100},
        {"below", false, 10, 4000, single, 10, 1060},
        {"on the left monitor", false, -900, 10, twoScreens, -900, 10},
        {"left of everything", false, -3000, 10, twoScreens, -1280, 10},
    };
    for (const auto& c : cases) {
        PlacementInput input;
        input.firstLaunch = c.first;
        input.posX = c.x;
        input.posY = c.y;
        input.posWidth = 250;
        input.posHeight = 105;
        input.primaryWidth = 1920;
        input.primaryHeight = 1080;
        input.desktop = c.desktop;
        EXPECT_EQ(RestorePlacement(input), (ScreenBox{c.expectedX, c.expectedY, 250, 105})) << c.name;
    }
}

TEST(Placement, FirstLaunchCentringTruncatesTowardZero) {
    PlacementInput input;
    input.firstLaunch = true;
    input.posWidth = 1001; // wider than the screen: (800 - 1001) / 2 = -100 (not -101)
    input.posHeight = 105;
    input.primaryWidth = 800;
    input.primaryHeight = 600;
    input.desktop = {-500, 0, 1300, 600};
    EXPECT_EQ(RestorePlacement(input).left, -100);
}

TEST(Placement, PresetsStayInsideTheWorkArea) {
    const ScreenBox bottomBar{0, 0, 1920, 1040};
    const ScreenBox leftBar{60, 0, 1860, 1080};
    const ScreenBox topBar{0, 40, 1920, 1040};
    const struct {
        LocationPreset preset;
        ScreenBox area;
        int left, top;
    } cases[] = {
        {LocationPreset::TopLeft, bottomBar, 0, 0},
        {LocationPreset::TopRight, bottomBar, 1670, 0},
        {LocationPreset::BottomLeft, bottomBar, 0, 935},
        {LocationPreset::BottomRight, bottomBar, 1670, 935},
        {LocationPreset::Center, bottomBar, 835, 468},
        // Taskbar at the left: the right presets reach the screen's right edge.
        {LocationPreset::TopLeft, leftBar, 60, 0},
        {LocationPreset::TopRight, leftBar, 1670, 0},
        {LocationPreset::Center, leftBar, 865, 488},
        // Taskbar at the top: the bottom presets reach the screen's bottom edge.
        {LocationPreset::BottomLeft, topBar, 0, 975},
        {LocationPreset::TopRight, topBar, 1670, 40},
    };
    for (const auto& c : cases) {
        int left = -1;
        int top = -1;
        MoveToPreset(c.preset, c.area, 250, 105, left, top);
        EXPECT_EQ(left, c.left) << static_cast<int>(c.preset) << " in " << c.area.left << "," << c.area.top;
        EXPECT_EQ(top, c.top) << static_cast<int>(c.preset) << " in " << c.area.left << "," << c.area.top;
    }
}

} // namespace
} // namespace quelmo::ui
